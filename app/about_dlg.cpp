#include "app/about_dlg.h"

#include "app/version.h"

#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

namespace {

// Dialog units of the template to pixels, from the dialog font's average character
// size (a horizontal unit is a quarter of it, a vertical unit an eighth).
struct DialogUnits {
    explicit DialogUnits(const QFont& font) {
        const QFontMetrics metrics(font);
        const QString sample =
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        baseX = (metrics.horizontalAdvance(sample) / 26 + 1) / 2;
        baseY = metrics.height();
    }
    QRect Rect(int x, int y, int w, int h) const {
        return {x * baseX / 4, y * baseY / 8, w * baseX / 4, h * baseY / 8};
    }
    int baseX = 6;
    int baseY = 13;
};

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Kestrova"));
    QFont font(QStringLiteral("MS Shell Dlg"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    setFont(font);
    const DialogUnits du(font);

    auto addText = [&](const QString& text, QRect r) {
        auto* label = new QLabel(text, this);
        label->setTextFormat(Qt::PlainText);
        label->setGeometry(r);
    };
    addText(QStringLiteral("Kestrova Version %1").arg(QString::fromLatin1(kKestrovaVersion)),
            du.Rect(7, 7, 119, 8));
    addText(QStringLiteral("Solar eclipses on a world map."), du.Rect(7, 17, 165, 8));
    addText(QStringLiteral("Sun and Moon after Newcomb and Brown."), du.Rect(7, 27, 165, 8));
    addText(QStringLiteral("Map data: Natural Earth (public domain)."), du.Rect(7, 37, 165, 8));
    addText(QStringLiteral("Places: GeoNames, geonames.org (CC BY 4.0)."), du.Rect(7, 47, 165, 8));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(du.Rect(178, 7, 50, 16));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    setFixedSize(du.Rect(0, 0, 235, 65).size());
}
