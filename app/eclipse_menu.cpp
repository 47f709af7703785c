#include "app/eclipse_menu.h"

#include "app/eclipse_list.h"
#include "eclipse/finder.h"
#include "eclipse/finder_text.h"
#include "eclipse/lunar.h"
#include "eclipse/lunar_text.h"
#include "ephemeris/timescales.h"
#include "model/input_parse.h"
#include "model/texts.h"
#include "view/kestrova_view.h"

#include <QAction>
#include <QActionGroup>
#include <QDate>
#include <QMainWindow>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>

namespace {

// The settings key of the engine's name ("precise" or "classic").
constexpr const char* kEngineKey = "ephemeris";

} // namespace

EclipseMenu::EclipseMenu(QMainWindow* frame, CKestrovaView* view)
    : QObject(frame), m_frame(frame), m_view(view) {
    QMenu* menu = frame->menuBar()->addMenu(QStringLiteral("&Eclipse"));
    QAction* next = menu->addAction(QStringLiteral("&Next eclipse"));
    next->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown));
    next->setStatusTip(
        QStringLiteral("Show the map of the next solar or lunar eclipse after the date"));
    connect(next, &QAction::triggered, this, &EclipseMenu::OnNextEclipse);
    QAction* previous = menu->addAction(QStringLiteral("&Previous eclipse"));
    previous->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp));
    previous->setStatusTip(
        QStringLiteral("Show the map of the last solar or lunar eclipse before the date"));
    connect(previous, &QAction::triggered, this, &EclipseMenu::OnPreviousEclipse);
    menu->addSeparator();
    QAction* list = menu->addAction(QStringLiteral("&List..."));
    list->setStatusTip(QStringLiteral("List the solar and lunar eclipses between two dates"));
    connect(list, &QAction::triggered, this, &EclipseMenu::OnListEclipses);
    menu->addSeparator();
    // The place commands: mnemonics C, F and S (L is the list's), Ctrl+Shift shortcuts.
    QAction* local = menu->addAction(QStringLiteral("Local &circumstances..."));
    local->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    local->setStatusTip(QStringLiteral("What a place sees of the eclipse of the date"));
    connect(local, &QAction::triggered, m_view, &CKestrovaView::OnLocalCircumstances);
    QAction* nextHere = menu->addAction(QStringLiteral("Next eclipse &from here..."));
    nextHere->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    nextHere->setStatusTip(
        QStringLiteral("The next eclipse of a kind seen from a place after the date"));
    connect(nextHere, &QAction::triggered, m_view, &CKestrovaView::OnNextEclipseFromHere);
    QAction* seen = menu->addAction(QStringLiteral("Eclipses &seen from here..."));
    seen->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    seen->setStatusTip(QStringLiteral("Every eclipse seen from a place over years, in a table"));
    connect(seen, &QAction::triggered, m_view, &CKestrovaView::OnEclipsesSeenFromHere);
    menu->addSeparator();
    QMenu* speed = menu->addMenu(QStringLiteral("&Animation speed"));
    auto* speeds = new QActionGroup(speed);
    for (const int minutes : kAnimationSpeeds) {
        QAction* a =
            speed->addAction(minutes == 1 ? QStringLiteral("&1 minute per second")
                                          : QStringLiteral("&%1 minutes per second").arg(minutes));
        a->setCheckable(true);
        a->setChecked(minutes == 1);
        speeds->addAction(a);
        connect(a, &QAction::triggered, m_view,
                [this, minutes] { m_view->SetAnimationSpeed(minutes); });
    }
    QMenu* engines = menu->addMenu(QStringLiteral("&Ephemeris"));
    auto* group = new QActionGroup(this);
    m_precise = engines->addAction(QStringLiteral("&Precise (VSOP87, ELP/MPP02)"));
    m_precise->setStatusTip(
        QStringLiteral("Compute the eclipses, the path and the local circumstances with the "
                       "precise theories"));
    m_classic = engines->addAction(QStringLiteral("&Classic (Newcomb, Brown)"));
    m_classic->setStatusTip(
        QStringLiteral("Compute the eclipses, the path and the local circumstances with the "
                       "classic theories of the map"));
    for (QAction* a : {m_precise, m_classic}) {
        a->setCheckable(true);
        group->addAction(a);
    }
    connect(m_precise, &QAction::triggered, this, [this] { ChooseEngine(Ephemeris::Precise); });
    connect(m_classic, &QAction::triggered, this, [this] { ChooseEngine(Ephemeris::Classic); });
    const std::optional<Ephemeris> saved =
        ParseEphemeris(QSettings().value(kEngineKey).toString().toStdString());
    ChooseEngine(saved.value_or(Ephemeris::Precise));
    connect(m_view, &CKestrovaView::mapShown, this, [this] { ShowSummary(); });
    connect(m_view, &CKestrovaView::dateEdited, this,
            [this] { m_frame->statusBar()->clearMessage(); });
}

void EclipseMenu::ChooseEngine(Ephemeris engine) {
    m_view->m_engine = engine;
    (engine == Ephemeris::Precise ? m_precise : m_classic)->setChecked(true);
    QSettings().setValue(kEngineKey,
                         QString::fromUtf8(EphemerisName(engine).data(),
                                           static_cast<int>(EphemerisName(engine).size())));
}

std::optional<double> EclipseMenu::FieldDate(bool& today) {
    m_view->ReadEditTexts();
    today = m_view->m_strDay.empty() && m_view->m_strMonth.empty() && m_view->m_strYear.empty();
    if (today) {
        const QDate date = QDate::currentDate();
        return CalendarToJulianDay(date.day(), date.month(), date.year(), 0.0, 0, 0);
    }
    if (m_view->m_strDay.empty() || m_view->m_strMonth.empty() || m_view->m_strYear.empty()) {
        m_view->MessageBox(QStringLiteral("You must enter value of day,month and year!"),
                           QStringLiteral("ERROR"), MB_OK | MB_ICONEXCLAMATION);
        return std::nullopt;
    }
    // The fields read as everywhere in the window (atoi meaning, capped); the date must exist.
    const int day = ParseInt(m_view->m_strDay);
    const int month = ParseInt(m_view->m_strMonth);
    const int year = ParseInt(m_view->m_strYear);
    const std::string problem = DateProblemText(day, month, year);
    if (!problem.empty()) {
        m_view->MessageBox(QString::fromStdString(problem), QStringLiteral("ERROR"),
                           MB_OK | MB_ICONEXCLAMATION);
        return std::nullopt;
    }
    return CalendarToJulianDay(day, month, year, 0.0, 0, 0);
}

void EclipseMenu::Step(bool forward) {
    bool today = false;
    const std::optional<double> jd = FieldDate(today);
    if (!jd)
        return;
    // Next from a date in the fields: after the end of that date, so that repeating
    // the command walks on from the eclipse just shown; from today: today's included.
    const double from = forward && !today ? *jd + 1.0 : *jd;
    const std::optional<EclipseCircumstances> solar =
        forward ? NextEclipse(from, m_view->m_engine) : PreviousEclipse(from, m_view->m_engine);
    const std::optional<LunarEclipse> lunar = forward
                                                  ? NextLunarEclipse(from, m_view->m_engine)
                                                  : PreviousLunarEclipse(from, m_view->m_engine);
    // The nearer of the two kinds.
    const bool lunarFirst =
        lunar && (!solar || (forward ? lunar->jdGreatestUT < solar->jdGreatestUT
                                     : lunar->jdGreatestUT > solar->jdGreatestUT));
    if (!solar && !lunar) {
        m_frame->statusBar()->showMessage(QStringLiteral("No eclipse found."));
        return;
    }
    const CalendarDate date =
        lunarFirst ? EclipseTableModel::DateOf(*lunar) : GreatestEclipseDate(*solar);
    ShowEclipseOf(date.day, date.month, date.year);
}

void EclipseMenu::OnNextEclipse() {
    Step(true);
}

void EclipseMenu::OnPreviousEclipse() {
    Step(false);
}

void EclipseMenu::OnListEclipses() {
    if (!m_list) {
        m_list = new EclipseListDialog(m_frame, m_view->m_engine);
        m_list->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_list, &EclipseListDialog::EclipseChosen, this, &EclipseMenu::ShowEclipseOf);
        m_list->StartSearch();
    }
    m_list->show();
    m_list->raise();
    m_list->activateWindow();
}

void EclipseMenu::ShowEclipseOf(int day, int month, int year) {
    m_view->ReadEditTexts();
    m_view->m_strDay = std::to_string(day);
    m_view->m_strMonth = std::to_string(month);
    m_view->m_strYear = std::to_string(year);
    m_view->WriteEditTexts();
    // Through the command path, so that the window's document notes the map.
    m_view->SendCommand(ID_MAP);
}

QString EclipseMenu::SummaryForFields() const {
    const int day = ParseInt(m_view->m_strDay);
    const int month = ParseInt(m_view->m_strMonth);
    const int year = ParseInt(m_view->m_strYear);
    if (CheckDate(day, month, year) != DateCheck::Valid)
        return {};
    const double jd = CalendarToJulianDay(day, month, year, 0.0, 0, 0);
    const std::vector<EclipseCircumstances> found = EclipsesBetween(jd, jd + 1.0, m_view->m_engine);
    if (!found.empty())
        return QString::fromStdString(EclipseSummary(found.front()));
    // The map command's lunar eclipse, when it shows one.
    if (const auto& lunar = m_view->GetScene().lunar) {
        const CalendarDate shown = EclipseTableModel::DateOf(*lunar);
        if (shown.day == day && shown.month == month && shown.year == year)
            return QString::fromStdString(LunarEclipseSummary(*lunar));
    }
    return {};
}

void EclipseMenu::ShowSummary() {
    const QString summary = SummaryForFields();
    if (summary.isEmpty())
        m_frame->statusBar()->clearMessage();
    else
        m_frame->statusBar()->showMessage(summary);
}

EclipseListDialog* EclipseMenu::ListDialog() const {
    return m_list;
}
