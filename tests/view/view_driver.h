#pragma once

// Drives the real view offscreen as a user would: typing into the fields, clicking the
// buttons, delivering the animation's ticks one by one, and taking the window's picture.

#include "geo/projection.h"
#include "pixel_count.h"
#include "view/kestrova_view.h"

#include <QApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <memory>

namespace view_driver {

using test_pixels::CountColour;

// The view with its timer handler callable, so that a test delivers the ticks itself
// instead of waiting a second for each.
class DrivenView : public CKestrovaView {
public:
    void Tick() { OnTimer(kAnimationTimerId); }
};

inline QRgb Rgb(COLORREF c) {
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

inline void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

// Window pixel of a latitude and longitude at zoom 1.
inline QPoint At(double lat, double lon) {
    const ScreenPoint p = ProjectToScreen(lat, lon, 1.0, 1.0);
    return {TruncToInt(p.x), TruncToInt(p.y)};
}

// The rectangle between two geographic corners (north-west, south-east).
inline QRect Region(double north, double west, double south, double east) {
    return QRect(At(north, west), At(south, east));
}

inline QRect Around(QPoint p, int radius) {
    return QRect(p.x() - radius, p.y() - radius, 2 * radius + 1, 2 * radius + 1);
}

// Mean window column of the pixels of a colour inside an area; -1 when there are none.
inline double MeanColumn(const QImage& image, QRgb colour, QRect area) {
    area &= image.rect();
    double sum = 0.0;
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) == colour) {
                sum += x;
                ++count;
            }
        }
    }
    return count > 0 ? sum / count : -1.0;
}

class ViewDriver : public testing::Test {
protected:
    void SetUp() override {
        view = std::make_unique<DrivenView>();
        view->SetMessageBoxSink(&boxes);
        view->resize(748, 539);
        view->show();
        view->OnInitialUpdate();
    }

    void SetField(CRichEdit* field, const char* text) {
        field->clear();
        Type(field, text);
    }

    void TypeDate(const char* d, const char* m, const char* y) {
        SetField(view->m_pEditDay, d);
        SetField(view->m_pEditMonth, m);
        SetField(view->m_pEditYear, y);
    }

    void TypeTime(const char* hh, const char* mm, const char* ss) {
        SetField(view->m_pEditHour, hh);
        SetField(view->m_pEditMinute, mm);
        SetField(view->m_pEditSecond, ss);
    }

    QString Field(int id) const { return view->GetDlgItemText(id); }
    QImage Picture() const { return test_pixels::WindowPicture(*view); }
    bool Animating() const { return view->IsTimerRunning(kAnimationTimerId); }

    CMessageRecorder boxes;
    std::unique_ptr<DrivenView> view;
};

} // namespace view_driver
