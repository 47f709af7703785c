#include "app/eclipse_list.h"

#include "eclipse/finder.h"
#include "eclipse/finder_text.h"
#include "eclipse/lunar_text.h"
#include "ephemeris/constants.h"
#include "ephemeris/timescales.h"
#include "model/texts.h"
#include "places/seen_from.h"

#include <QComboBox>
#include <QDate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// The list's columns: the kind, the solar table's with where the eclipse is seen
// after the duration, then the lunar table's that the solar one lacks (the lunar
// rows show their sub-lunar point as lat and lon).
const std::vector<std::string>& ListColumns() {
    static const std::vector<std::string> columns = [] {
        std::vector<std::string> c = {"kind"};
        c.insert(c.end(), kEclipseColumns.begin(), kEclipseColumns.end());
        const auto duration = std::find(c.begin(), c.end(), "central_duration_s");
        c.insert(duration == c.end() ? c.end() : duration + 1, "seen_from");
        for (const char* name : {"penumbral_magnitude", "umbral_magnitude", "penumbral_duration_s",
                                 "partial_duration_s", "total_duration_s"})
            c.emplace_back(name);
        return c;
    }();
    return columns;
}

struct Field {
    std::string text;
    bool number = false;
};

// One row's field of a column by name; empty where it has none.
Field FieldOf(const EclipseTableModel::Row& row, const std::string& column) {
    if (column == "kind")
        return {EclipseTableModel::KindOf(row).toStdString(), false};
    if (const auto* solar = std::get_if<EclipseCircumstances>(&row)) {
        const auto fields = EclipseFields(*solar);
        for (std::size_t i = 0; i < kEclipseColumnCount; ++i)
            if (column == kEclipseColumns[i])
                return {fields[i], EclipseColumnIsNumber(i)};
        return {};
    }
    const LunarEclipse& lunar = std::get<LunarEclipse>(row);
    const std::string name = column == "lat"   ? "sublunar_lat"
                             : column == "lon" ? "sublunar_lon"
                                               : column;
    const auto fields = LunarFields(lunar);
    for (std::size_t i = 0; i < kLunarColumnCount; ++i)
        if (name == kLunarColumns[i])
            return {fields[i], LunarColumnIsNumber(i)};
    return {};
}

double GreatestUT(const EclipseTableModel::Row& row) {
    return std::visit([](const auto& c) { return c.jdGreatestUT; }, row);
}

} // namespace

void EclipseTableModel::SetEclipses(std::vector<Row> eclipses, std::vector<std::string> seenFrom) {
    beginResetModel();
    m_eclipses = std::move(eclipses);
    m_seenFrom = std::move(seenFrom);
    m_seenFrom.resize(m_eclipses.size());
    endResetModel();
}

const EclipseTableModel::Row& EclipseTableModel::EclipseAt(int row) const {
    return m_eclipses.at(static_cast<std::size_t>(row));
}

QString EclipseTableModel::KindOf(const Row& row) {
    return std::holds_alternative<LunarEclipse>(row) ? QStringLiteral("lunar")
                                                     : QStringLiteral("solar");
}

CalendarDate EclipseTableModel::DateOf(const Row& row) {
    if (const auto* solar = std::get_if<EclipseCircumstances>(&row))
        return GreatestEclipseDate(*solar);
    // The date column's: that of the instant rounded to the second.
    const double jd = std::get<LunarEclipse>(row).jdGreatestUT;
    return JulianDayToCalendarDate(std::round(jd * kSecondsPerDay) / kSecondsPerDay);
}

int EclipseTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_eclipses.size());
}

int EclipseTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(ListColumns().size());
}

namespace {

// The columns as people read them.
QString ColumnTitle(const std::string& name) {
    static const std::pair<const char*, const char*> titles[] = {
        {"kind", "Kind"},
        {"date", "Date"},
        {"greatest_ut", "Greatest (UT)"},
        {"greatest_tt", "Greatest (TT)"},
        {"delta_t_s", "\u0394T (s)"},
        {"type", "Type"},
        {"gamma", "Gamma"},
        {"magnitude", "Magnitude"},
        {"lat", "Latitude"},
        {"lon", "Longitude"},
        {"sun_alt", "Sun's altitude"},
        {"sun_az", "Sun's azimuth"},
        {"path_width_km", "Path width (km)"},
        {"central_duration_s", "Duration"},
        {"seen_from", "Where it is seen"},
        {"saros", "Saros"},
        {"lunation", "Lunation"},
        {"penumbral_magnitude", "Penumbral magnitude"},
        {"umbral_magnitude", "Umbral magnitude"},
        {"penumbral_duration_s", "Penumbral duration"},
        {"partial_duration_s", "Partial duration"},
        {"total_duration_s", "Total duration"}};
    for (const auto& [key, title] : titles)
        if (name == key)
            return QString::fromUtf8(title);
    return QString::fromStdString(name);
}

// "4 min 28 s" for a duration in seconds; the text as it is when it is none.
QString DurationText(const std::string& seconds) {
    if (seconds.empty())
        return {};
    const long s = std::lround(std::stod(seconds));
    return s < 60 ? QStringLiteral("%1 s").arg(s)
                  : QStringLiteral("%1 min %2 s").arg(s / 60).arg(s % 60);
}

bool IsDuration(const std::string& column) {
    return column.size() > 11 && column.compare(column.size() - 11, 11, "_duration_s") == 0;
}

} // namespace

QVariant EclipseTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const Row& row = EclipseAt(index.row());
    const std::string& column = ListColumns()[static_cast<std::size_t>(index.column())];
    const Field field = column == "seen_from"
                            ? Field{m_seenFrom[static_cast<std::size_t>(index.row())], false}
                            : FieldOf(row, column);
    if (role == Qt::ToolTipRole && column == "seen_from" && !field.text.empty())
        return QString::fromStdString(field.text);
    if (role == Qt::DisplayRole)
        return IsDuration(column) ? DurationText(field.text) : QString::fromStdString(field.text);
    if (role == Qt::UserRole) {
        if (column == "date" || column == "greatest_ut")
            return GreatestUT(row);
        if (column == "greatest_tt")
            return std::visit([](const auto& c) { return c.jdGreatestTT; }, row);
        if (!field.number)
            return QString::fromStdString(field.text);
        // Empty fields (no path width, no totality) sort before every number.
        return field.text.empty() ? -1.0e300 : std::stod(field.text);
    }
    if (role == Qt::TextAlignmentRole && field.number)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant EclipseTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < columnCount())
        return ColumnTitle(ListColumns()[static_cast<std::size_t>(section)]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

DateParse ParseListDate(const QString& text) {
    DateParse parse;
    static const QRegularExpression form(QStringLiteral("^(-?\\d{1,4})-(\\d{1,2})-(\\d{1,2})$"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    if (!match.hasMatch()) {
        parse.problem = QStringLiteral("\"%1\" is not a date of the form YYYY-MM-DD.").arg(text);
        return parse;
    }
    const int year = match.captured(1).toInt();
    const int month = match.captured(2).toInt();
    const int day = match.captured(3).toInt();
    const std::string problem = DateProblemText(day, month, year);
    if (!problem.empty()) {
        parse.problem = QString::fromStdString(problem);
        return parse;
    }
    parse.ok = true;
    parse.jd = CalendarToJulianDay(day, month, year, 0.0, 0, 0);
    return parse;
}

EclipseListDialog::EclipseListDialog(QWidget* parent, Ephemeris engine)
    : QDialog(parent), m_engine(engine) {
    setWindowTitle(QStringLiteral("Eclipses"));
    const int year = QDate::currentDate().year();
    m_from = new QLineEdit(QStringLiteral("%1-01-01").arg(year), this);
    m_to = new QLineEdit(QStringLiteral("%1-12-31").arg(year + 10), this);
    m_search = new QPushButton(QStringLiteral("&Search"), this);
    m_search->setDefault(true);
    m_kind = new QComboBox(this);
    m_kind->addItems(
        {QStringLiteral("Solar and lunar"), QStringLiteral("Solar"), QStringLiteral("Lunar")});
    m_status = new QLabel(this);
    m_model = new EclipseTableModel(this);
    m_proxy = new QSortFilterProxyModel(this);
    m_proxy->setSourceModel(m_model);
    m_proxy->setSortRole(Qt::UserRole);
    m_proxy->setFilterKeyColumn(0);
    m_table = new QTableView(this);
    m_table->setModel(m_proxy);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(1, Qt::AscendingOrder); // by date
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);

    auto* range = new QHBoxLayout;
    auto* fromLabel = new QLabel(QStringLiteral("&From:"), this);
    fromLabel->setBuddy(m_from);
    auto* toLabel = new QLabel(QStringLiteral("&To:"), this);
    toLabel->setBuddy(m_to);
    range->addWidget(fromLabel);
    range->addWidget(m_from);
    range->addWidget(toLabel);
    range->addWidget(m_to);
    auto* kindLabel = new QLabel(QStringLiteral("&Show:"), this);
    kindLabel->setBuddy(m_kind);
    range->addWidget(kindLabel);
    range->addWidget(m_kind);
    range->addWidget(m_search);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(range);
    layout->addWidget(m_table, 1);
    auto* legend = new QLabel(
        QStringLiteral("Type: T total, A annular, H hybrid (total along part of the path, "
                       "annular along the rest), P partial. Greatest: the instant the shadow's "
                       "axis passes closest to the Earth's centre, at the latitude and "
                       "longitude given. Duration: of totality or annularity there. Path width: "
                       "none where the shadow's northern or southern edge misses the Earth. "
                       "Where it "
                       "is seen: the countries the path of totality or annularity crosses, "
                       "and the regions that see a partial eclipse."),
        this);
    legend->setWordWrap(true);
    layout->addWidget(legend);
    layout->addWidget(m_status);
    resize(1000, 420);

    connect(m_search, &QPushButton::clicked, this, &EclipseListDialog::StartSearch);
    connect(m_table, &QTableView::doubleClicked, this, &EclipseListDialog::OnDoubleClicked);
    connect(m_kind, &QComboBox::currentIndexChanged, this, [this](int kind) {
        m_proxy->setFilterFixedString(kind == 1   ? QStringLiteral("solar")
                                      : kind == 2 ? QStringLiteral("lunar")
                                                  : QString());
        ShowCount();
    });
}

EclipseListDialog::~EclipseListDialog() {
    // The worker only computes into m_result; let it finish before the dialog goes.
    if (m_worker) {
        m_worker->wait();
        delete m_worker;
    }
}

void EclipseListDialog::StartSearch() {
    if (m_worker)
        return;
    const DateParse from = ParseListDate(m_from->text());
    const DateParse to = ParseListDate(m_to->text());
    if (!from.ok || !to.ok) {
        m_status->setText(!from.ok ? from.problem : to.problem);
        return;
    }
    if (to.jd < from.jd) {
        m_status->setText(QStringLiteral("The range ends before it begins."));
        return;
    }
    m_search->setEnabled(false);
    m_status->setText(QStringLiteral("Searching..."));
    const double jdFrom = from.jd;
    const double jdTo = to.jd + 1.0; // the last date included
    m_worker = QThread::create([this, jdFrom, jdTo] {
        std::vector<EclipseTableModel::Row> rows;
        for (EclipseCircumstances& c : EclipsesBetween(jdFrom, jdTo, m_engine))
            rows.emplace_back(std::move(c));
        for (LunarEclipse& c : LunarEclipsesBetween(jdFrom, jdTo, m_engine))
            rows.emplace_back(std::move(c));
        std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
            return GreatestUT(a) < GreatestUT(b);
        });
        std::vector<std::string> seen;
        for (const EclipseTableModel::Row& row : rows) {
            const auto* solar = std::get_if<EclipseCircumstances>(&row);
            seen.push_back(solar ? DescribeSeenFrom(WhereSeen(solar->elements)) : std::string());
        }
        m_result = std::move(rows);
        m_resultSeenFrom = std::move(seen);
    });
    connect(m_worker, &QThread::finished, this, &EclipseListDialog::OnSearchDone);
    m_worker->start();
}

void EclipseListDialog::OnSearchDone() {
    m_worker->wait();
    delete m_worker;
    m_worker = nullptr;
    m_model->SetEclipses(std::move(m_result), std::move(m_resultSeenFrom));
    m_result.clear();
    m_resultSeenFrom.clear();
    m_table->resizeColumnsToContents();
    // Where it is seen can be long: its whole text is the cell's tooltip.
    const int seen = static_cast<int>(
        std::find(ListColumns().begin(), ListColumns().end(), "seen_from") - ListColumns().begin());
    m_table->setColumnWidth(seen, std::min(m_table->columnWidth(seen), 480));
    ShowCount();
    m_search->setEnabled(true);
    emit SearchFinished();
}

void EclipseListDialog::ShowCount() {
    int solar = 0;
    int lunar = 0;
    for (int row = 0; row < m_proxy->rowCount(); ++row) {
        const QModelIndex source = m_proxy->mapToSource(m_proxy->index(row, 0));
        (EclipseTableModel::KindOf(m_model->EclipseAt(source.row())) == "lunar" ? lunar : solar)++;
    }
    m_status->setText(QStringLiteral("%1 solar and %2 lunar eclipses. Double-click one to show "
                                     "its map.")
                          .arg(solar)
                          .arg(lunar));
}

void EclipseListDialog::OnDoubleClicked(const QModelIndex& index) {
    const QModelIndex source = m_proxy->mapToSource(index);
    if (!source.isValid())
        return;
    const CalendarDate date = EclipseTableModel::DateOf(m_model->EclipseAt(source.row()));
    emit EclipseChosen(date.day, date.month, date.year);
}
