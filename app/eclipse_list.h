#pragma once

// Eclipse > List...: the solar and lunar eclipses between two dates in one sortable
// table: a kind column, the columns of kestrova-cli's eclipse table with where each
// solar eclipse is seen after the duration, then those of its lunar table that the
// solar one lacks; a filter shows one kind or both. The
// search runs on a worker thread; a double-click on a row asks for that eclipse's map.

#include "eclipse/circumstances.h"
#include "eclipse/lunar.h"
#include "ephemeris/engine.h"
#include "ephemeris/timescales.h"

#include <QAbstractTableModel>
#include <QDialog>

#include <string>
#include <variant>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class QThread;

class EclipseTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    using Row = std::variant<EclipseCircumstances, LunarEclipse>;

    // The rows in time order of greatest eclipse, and where each is seen
    // (DescribeSeenFrom; empty for lunar rows, or all empty).
    void SetEclipses(std::vector<Row> eclipses, std::vector<std::string> seenFrom = {});
    const Row& EclipseAt(int row) const;
    // "solar" or "lunar".
    static QString KindOf(const Row& row);
    // The UT date of greatest eclipse.
    static CalendarDate DateOf(const Row& row);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // Display: the table's text; Qt::UserRole: the value to sort by (a number for
    // the numeric columns and the instant for the date and times).
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<Row> m_eclipses;
    std::vector<std::string> m_seenFrom; // as many as m_eclipses
};

class EclipseListDialog : public QDialog {
    Q_OBJECT

public:
    // The range starts as this year and the next ten; the search runs on engine's theories.
    explicit EclipseListDialog(QWidget* parent = nullptr, Ephemeris engine = Ephemeris::Precise);
    ~EclipseListDialog() override;

    QLineEdit* FromEdit() const { return m_from; }
    QLineEdit* ToEdit() const { return m_to; }
    // Both kinds (0), solar (1) or lunar (2) eclipses shown.
    QComboBox* KindFilter() const { return m_kind; }
    QTableView* Table() const { return m_table; }
    const EclipseTableModel& Model() const { return *m_model; }
    bool Searching() const { return m_worker != nullptr; }

    // Reads the two dates and starts the search; a bad date or range is said in the
    // dialog and nothing is searched.
    void StartSearch();

signals:
    void EclipseChosen(int day, int month, int year);
    void SearchFinished();

private:
    void OnSearchDone();
    // "N solar and M lunar eclipses" of the rows the filter shows.
    void ShowCount();
    void OnDoubleClicked(const QModelIndex& index);

    QLineEdit* m_from = nullptr;
    QLineEdit* m_to = nullptr;
    QPushButton* m_search = nullptr;
    QComboBox* m_kind = nullptr;
    QLabel* m_status = nullptr;
    QTableView* m_table = nullptr;
    EclipseTableModel* m_model = nullptr;
    QSortFilterProxyModel* m_proxy = nullptr;
    QThread* m_worker = nullptr;
    Ephemeris m_engine;
    // Written by the worker, read after it ends.
    std::vector<EclipseTableModel::Row> m_result;
    std::vector<std::string> m_resultSeenFrom;
};

// A "YYYY-MM-DD" date (a leading minus for negative years) as the Julian day of its
// 0h UT; an empty optional and the reason in problem when it is not a date.
struct DateParse {
    bool ok = false;
    double jd = 0.0;
    QString problem;
};
DateParse ParseListDate(const QString& text);
