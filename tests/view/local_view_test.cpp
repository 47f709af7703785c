// The right click's third box: what the clicked point sees of the eclipse of the date
// in the fields.
#include "geo/projection.h"
#include "view/kestrova_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <memory>

namespace {

void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

class LocalViewTest : public testing::Test {
protected:
    void SetUp() override {
        view = std::make_unique<CKestrovaView>();
        view->SetMessageBoxSink(&boxes);
        view->resize(748, 539);
        view->show();
        view->OnInitialUpdate();
    }

    void TypeDate(const char* d, const char* m, const char* y) {
        Type(view->m_pEditDay, d);
        Type(view->m_pEditMonth, m);
        Type(view->m_pEditYear, y);
    }

    // Right click at the window position of a latitude and longitude.
    void RightClickAt(double lat, double lon) {
        const ScreenPoint p = ProjectToScreen(lat, lon, 1.0, 1.0);
        const QPointF at(static_cast<int>(p.x), static_cast<int>(p.y));
        QMouseEvent event(QEvent::MouseButtonPress, at, view->mapToGlobal(at), Qt::RightButton,
                          Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(view.get(), &event);
    }

    CMessageRecorder boxes;
    std::unique_ptr<CKestrovaView> view;
};

// In Texas near the central line of 2024 April 8: the two boxes as before, then the
// total eclipse.
TEST_F(LocalViewTest, ClickInThePathShowsTotality) {
    TypeDate("8", "4", "2024");
    RightClickAt(29.8, -99.5);
    ASSERT_EQ(boxes.m_calls.size(), 3u);
    EXPECT_EQ(boxes.m_calls[1].caption, "INFORMATION");
    EXPECT_EQ(boxes.m_calls[2].caption, "Local circumstances");
    EXPECT_EQ(boxes.m_calls[2].style & MB_ICONMASK, MB_ICONINFORMATION);
    const QString text = boxes.m_calls[2].text;
    EXPECT_TRUE(text.startsWith("Solar eclipse of 2024 April 8\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("Total eclipse.")) << text.toStdString();
    EXPECT_TRUE(text.contains("Maximum:  18:33")) << text.toStdString();
    EXPECT_TRUE(text.contains("Duration of totality:\t")) << text.toStdString();
}

// Outside the penumbra's reach (Cape Town), and where the shadow passes at night
// (central Australia).
TEST_F(LocalViewTest, ClickOutsideTheReachSaysSo) {
    TypeDate("8", "4", "2024");
    RightClickAt(-33.9, 18.4);
    ASSERT_EQ(boxes.m_calls.size(), 3u);
    EXPECT_TRUE(boxes.m_calls[2].text.contains("The eclipse is not seen here: the Moon's shadow"))
        << boxes.m_calls[2].text.toStdString();
    RightClickAt(-25.0, 135.0);
    ASSERT_EQ(boxes.m_calls.size(), 6u);
    EXPECT_TRUE(boxes.m_calls[5].text.contains("not seen here: the Sun is below the horizon"))
        << boxes.m_calls[5].text.toStdString();
}

// No eclipse on the date, or no date: the right click keeps its two boxes.
TEST_F(LocalViewTest, NoEclipseOnTheDateKeepsTwoBoxes) {
    TypeDate("9", "4", "2024");
    RightClickAt(32.9, -96.8);
    EXPECT_EQ(boxes.m_calls.size(), 2u);
    boxes.m_calls.clear();
    view->m_pEditDay->clear();
    RightClickAt(32.9, -96.8);
    EXPECT_EQ(boxes.m_calls.size(), 2u);
}

} // namespace
