// The Eclipse menu as a user drives it: next and previous eclipse (solar or lunar)
// from the date in the fields, refused dates, the list of eclipses with its filter
// and its double-click, and the summary in the status bar after the map command.
#include "app/eclipse_list.h"
#include "app/eclipse_menu.h"
#include "app/main_frame.h"
#include "view/kestrova_view.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QEventLoop>
#include <QLineEdit>
#include <QMenuBar>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Runs the event loop until the list's search has finished (or ms have passed).
bool WaitForSearch(EclipseListDialog* list, int ms = 30000) {
    if (!list->Searching())
        return true;
    QEventLoop loop;
    QObject::connect(list, &EclipseListDialog::SearchFinished, &loop, &QEventLoop::quit);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return !list->Searching();
}

class EclipseMenuTest : public testing::Test {
protected:
    void SetUp() override {
        view()->SetMessageBoxSink(&boxes);
        frame.show();
        view()->OnInitialUpdate();
        menu = frame.findChild<EclipseMenu*>();
        ASSERT_NE(menu, nullptr);
    }

    CKestrovaView* view() { return frame.GetActiveView(); }

    void SetDate(const char* day, const char* month, const char* year) {
        view()->m_strDay = day;
        view()->m_strMonth = month;
        view()->m_strYear = year;
        view()->WriteEditTexts();
    }

    std::string FieldDate() {
        view()->ReadEditTexts();
        return view()->m_strDay + "." + view()->m_strMonth + "." + view()->m_strYear;
    }

    CMessageRecorder boxes;
    CMainFrame frame;
    EclipseMenu* menu = nullptr;
};

TEST_F(EclipseMenuTest, MenuWithItsShortcuts) {
    QMenu* eclipse = nullptr;
    for (QAction* action : frame.menuBar()->actions())
        if (action->text() == "&Eclipse")
            eclipse = action->menu();
    ASSERT_NE(eclipse, nullptr);
    QStringList items;
    for (QAction* action : eclipse->actions())
        if (!action->isSeparator())
            items << action->text() + " " + action->shortcut().toString();
    EXPECT_EQ(items, QStringList({"&Next eclipse Ctrl+PgDown", "&Previous eclipse Ctrl+PgUp",
                                  "&List... ", "Local &circumstances... Ctrl+Shift+C",
                                  "Next eclipse &from here... Ctrl+Shift+F",
                                  "Eclipses &seen from here... Ctrl+Shift+S", "&Animation speed ",
                                  "&Ephemeris "}));
    // Every mnemonic of the menu is its own.
    QStringList mnemonics;
    for (QAction* action : eclipse->actions()) {
        const qsizetype amp = action->text().indexOf('&');
        if (amp >= 0)
            mnemonics << action->text().mid(amp + 1, 1).toLower();
    }
    EXPECT_EQ(mnemonics.removeDuplicates(), 0) << mnemonics.join(",").toStdString();
    // The engine chosen goes to the view and is kept in the settings.
    menu->ChooseEngine(Ephemeris::Classic);
    EXPECT_EQ(view()->m_engine, Ephemeris::Classic);
    EXPECT_EQ(QSettings().value("ephemeris").toString(), QStringLiteral("classic"));
    menu->ChooseEngine(Ephemeris::Precise);
}

TEST_F(EclipseMenuTest, NextAndPreviousWalkThroughBothKinds) {
    SetDate("1", "1", "2025");
    menu->OnNextEclipse();
    EXPECT_EQ(FieldDate(), "14.3.2025");
    EXPECT_TRUE(boxes.m_calls.empty());
    QString status = frame.statusBar()->currentMessage();
    EXPECT_TRUE(status.startsWith("Total lunar eclipse: greatest 06:58")) << status.toStdString();

    // Repeated, it walks on, to the solar eclipse two weeks later.
    menu->OnNextEclipse();
    EXPECT_EQ(FieldDate(), "29.3.2025");
    status = frame.statusBar()->currentMessage();
    EXPECT_TRUE(status.startsWith("Partial solar eclipse: greatest 10:4")) << status.toStdString();
    EXPECT_TRUE(status.contains("magnitude 0.93")) << status.toStdString();
    menu->OnNextEclipse();
    EXPECT_EQ(FieldDate(), "7.9.2025");
    menu->OnNextEclipse();
    EXPECT_EQ(FieldDate(), "21.9.2025");

    SetDate("29", "3", "2025");
    menu->OnPreviousEclipse();
    EXPECT_EQ(FieldDate(), "14.3.2025");
    menu->OnPreviousEclipse();
    EXPECT_EQ(FieldDate(), "2.10.2024");
    EXPECT_TRUE(frame.statusBar()->currentMessage().startsWith("Annular solar eclipse:"));
    EXPECT_TRUE(frame.statusBar()->currentMessage().contains("annularity 7 min"));
}

TEST_F(EclipseMenuTest, EmptyFieldsStartFromToday) {
    SetDate("", "", "");
    menu->OnNextEclipse();
    view()->ReadEditTexts();
    EXPECT_FALSE(view()->m_strYear.empty());
    EXPECT_GE(std::stoi(view()->m_strYear), QDate::currentDate().year());
    EXPECT_TRUE(boxes.m_calls.empty());
}

TEST_F(EclipseMenuTest, DatesThatDoNotExistAreRefused) {
    SetDate("10", "10", "1582");
    menu->OnNextEclipse();
    ASSERT_EQ(boxes.m_calls.size(), 1u);
    EXPECT_EQ(boxes.m_calls[0].caption, "ERROR");
    EXPECT_TRUE(boxes.m_calls[0].text.contains("1582"));
    EXPECT_EQ(FieldDate(), "10.10.1582");

    SetDate("15", "10", "1582");
    menu->OnNextEclipse();
    EXPECT_EQ(boxes.m_calls.size(), 1u);
    EXPECT_EQ(FieldDate(), "9.12.1582"); // the lunar eclipse before the solar one of the 25th
}

TEST_F(EclipseMenuTest, MapCommandNamesTheEclipseOfTheDate) {
    SetDate("8", "4", "2024");
    view()->OnMap();
    const QString status = frame.statusBar()->currentMessage();
    EXPECT_TRUE(status.startsWith("Total solar eclipse: greatest 18:17:2")) << status.toStdString();
    EXPECT_TRUE(status.contains("totality 4 min 2")) << status.toStdString();
    // The canon's point of greatest eclipse, 25.29 N 104.14 W, with the precise engine.
    EXPECT_TRUE(status.contains("25.3\u00b0 N 104.1\u00b0 W")) << status.toStdString();
    EXPECT_TRUE(status.endsWith("(precise ephemeris)")) << status.toStdString();
    // A date without an eclipse leaves no summary.
    SetDate("20", "4", "2024");
    view()->OnMap();
    EXPECT_TRUE(frame.statusBar()->currentMessage().isEmpty());
}

TEST_F(EclipseMenuTest, ListSearchesSortsAndDoubleClickShowsTheMap) {
    menu->OnListEclipses();
    EclipseListDialog* list = menu->ListDialog();
    ASSERT_NE(list, nullptr);
    // The default search (this year and the next ten) runs first.
    ASSERT_TRUE(WaitForSearch(list));
    EXPECT_GE(list->Model().rowCount(), 20);

    list->FromEdit()->setText("2024-01-01");
    list->ToEdit()->setText("2024-12-31");
    list->StartSearch();
    EXPECT_TRUE(list->Searching());
    ASSERT_TRUE(WaitForSearch(list));

    // Both kinds, in time order: the penumbral eclipse of March 25 first.
    ASSERT_EQ(list->Model().rowCount(), 4);
    QAbstractItemModel* view = list->Table()->model();
    EXPECT_EQ(view->headerData(0, Qt::Horizontal).toString(), "Kind");
    EXPECT_EQ(view->headerData(1, Qt::Horizontal).toString(), "Date");
    EXPECT_EQ(view->headerData(12, Qt::Horizontal).toString(), "Path width (km)");
    EXPECT_EQ(view->index(0, 0).data().toString(), "lunar");
    EXPECT_EQ(view->index(0, 1).data().toString(), "2024-03-25");
    EXPECT_EQ(view->index(0, 5).data().toString(), "N");
    EXPECT_EQ(view->index(1, 0).data().toString(), "solar");
    EXPECT_EQ(view->index(1, 1).data().toString(), "2024-04-08");
    // The April totality's central duration, as people read it.
    bool april = false;
    for (int r = 0; r < view->rowCount(); ++r) {
        if (view->index(r, 1).data().toString() == "2024-04-08") {
            april = true;
            EXPECT_EQ(view->index(r, 13).data().toString(), "4 min 28 s");
            EXPECT_TRUE(view->index(r, 14).data().toString().startsWith(
                "Path: Mexico, United States, Canada \u00B7 Partial: North America"));
        }
    }
    EXPECT_TRUE(april);
    EXPECT_EQ(view->headerData(14, Qt::Horizontal).toString(), "Where it is seen");
    EXPECT_EQ(view->index(0, 14).data().toString(), ""); // none said for lunar rows

    // The solar ones alone, sorted by gamma (column 6): the October annular eclipse
    // (gamma -0.35) first.
    list->KindFilter()->setCurrentIndex(1);
    ASSERT_EQ(view->rowCount(), 2);
    EXPECT_EQ(view->headerData(6, Qt::Horizontal).toString(), "Gamma");
    list->Table()->sortByColumn(6, Qt::AscendingOrder);
    EXPECT_EQ(view->index(0, 1).data().toString(), "2024-10-02");
    list->Table()->sortByColumn(6, Qt::DescendingOrder);
    EXPECT_EQ(view->index(0, 1).data().toString(), "2024-04-08");
    emit list->Table()->doubleClicked(view->index(0, 3));
    EXPECT_EQ(FieldDate(), "8.4.2024");
    EXPECT_TRUE(frame.statusBar()->currentMessage().startsWith("Total solar eclipse"));

    // A lunar row shows its eclipse on the map: the Moon's horizon at each contact.
    list->KindFilter()->setCurrentIndex(2);
    ASSERT_EQ(view->rowCount(), 2);
    list->Table()->sortByColumn(1, Qt::DescendingOrder);
    EXPECT_EQ(view->index(0, 1).data().toString(), "2024-09-18");
    emit list->Table()->doubleClicked(view->index(0, 1));
    EXPECT_EQ(FieldDate(), "18.9.2024");
    EXPECT_TRUE(frame.statusBar()->currentMessage().startsWith("Partial lunar eclipse"));
    const Scene& scene = this->view()->GetScene();
    ASSERT_TRUE(scene.lunar);
    EXPECT_FALSE(scene.lunarDiagram.empty());
    std::vector<std::string> labels;
    for (const PathLine& line : scene.path.lines)
        if (line.kind == PathLineKind::MoonVisibility && !line.label.empty())
            labels.push_back(line.label);
    EXPECT_EQ(labels, (std::vector<std::string>{"P1", "U1", "U4", "P4"}));
    EXPECT_TRUE(scene.limitCurves.latitudes.empty());
}

TEST_F(EclipseMenuTest, ListRefusesABadRange) {
    menu->OnListEclipses();
    EclipseListDialog* list = menu->ListDialog();
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(WaitForSearch(list));
    const int rows = list->Model().rowCount();
    list->FromEdit()->setText("1582-10-10");
    list->StartSearch();
    EXPECT_FALSE(list->Searching());
    list->FromEdit()->setText("2030-01-01");
    list->ToEdit()->setText("2020-01-01");
    list->StartSearch();
    EXPECT_FALSE(list->Searching());
    EXPECT_EQ(list->Model().rowCount(), rows);
}

TEST(ParseListDate, FormsAndCalendar) {
    EXPECT_TRUE(ParseListDate("2024-04-08").ok);
    EXPECT_TRUE(ParseListDate("-584-05-28").ok);
    EXPECT_FALSE(ParseListDate("1582-10-10").ok);
    EXPECT_FALSE(ParseListDate("2024-02-30").ok);
    EXPECT_FALSE(ParseListDate("8.4.2024").ok);
    EXPECT_FALSE(ParseListDate("").ok);
    EXPECT_EQ(ParseListDate("2000-01-01").jd, 2451544.5);
}

} // namespace
