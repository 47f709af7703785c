#include "app/eclipse_list.h"

#include "eclipse/finder.h"
#include "eclipse/finder_text.h"
#include "ephemeris/timescales.h"
#include "view/texts.h"

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

#include <cmath>

void EclipseTableModel::SetEclipses(std::vector<EclipseCircumstances> eclipses) {
    beginResetModel();
    m_eclipses = std::move(eclipses);
    endResetModel();
}

const EclipseCircumstances& EclipseTableModel::EclipseAt(int row) const {
    return m_eclipses.at(static_cast<std::size_t>(row));
}

int EclipseTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_eclipses.size());
}

int EclipseTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kEclipseColumnCount);
}

namespace {

// The columns as people read them, in the finder's order (eclipse/finder_text.h).
constexpr const char* kColumnTitles[kEclipseColumnCount] = {
    "Date",          "Greatest (UT)",   "Greatest (TT)", "\u0394T (s)", "Type",
    "Gamma",         "Magnitude",       "Latitude",      "Longitude",   "Sun's altitude",
    "Sun's azimuth", "Path width (km)", "Duration",      "Saros",       "Lunation"};
constexpr std::size_t kDurationColumn = 12;

// "4 min 28 s" for the central duration in seconds.
QString DurationText(const std::string& seconds) {
    if (seconds.empty())
        return {};
    const long s = std::lround(std::stod(seconds));
    return s < 60 ? QStringLiteral("%1 s").arg(s)
                  : QStringLiteral("%1 min %2 s").arg(s / 60).arg(s % 60);
}

} // namespace

QVariant EclipseTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const EclipseCircumstances& c = EclipseAt(index.row());
    const std::size_t column = static_cast<std::size_t>(index.column());
    if (role == Qt::DisplayRole) {
        const std::string field = EclipseFields(c)[column];
        return column == kDurationColumn ? DurationText(field) : QString::fromStdString(field);
    }
    if (role == Qt::UserRole) {
        switch (column) {
        case 0:
        case 1:
            return c.jdGreatestUT;
        case 2:
            return c.jdGreatestTT;
        case 4:
            return QString(QChar::fromLatin1(EclipseTypeLetter(c.type)));
        default: {
            const std::string text = EclipseFields(c)[column];
            // Empty fields (no path width) sort before every number.
            return text.empty() ? -1.0e300 : std::stod(text);
        }
        }
    }
    if (role == Qt::TextAlignmentRole && EclipseColumnIsNumber(column))
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant EclipseTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < columnCount())
        return QString::fromUtf8(kColumnTitles[static_cast<std::size_t>(section)]);
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

EclipseListDialog::EclipseListDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Solar Eclipses"));
    const int year = QDate::currentDate().year();
    m_from = new QLineEdit(QStringLiteral("%1-01-01").arg(year), this);
    m_to = new QLineEdit(QStringLiteral("%1-12-31").arg(year + 10), this);
    m_search = new QPushButton(QStringLiteral("&Search"), this);
    m_search->setDefault(true);
    m_status = new QLabel(this);
    m_model = new EclipseTableModel(this);
    m_proxy = new QSortFilterProxyModel(this);
    m_proxy->setSourceModel(m_model);
    m_proxy->setSortRole(Qt::UserRole);
    m_table = new QTableView(this);
    m_table->setModel(m_proxy);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(0, Qt::AscendingOrder);
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
    range->addWidget(m_search);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(range);
    layout->addWidget(m_table, 1);
    auto* legend = new QLabel(
        QStringLiteral("Type: T total, A annular, H hybrid (total along part of the path, "
                       "annular along the rest), P partial. Greatest: the instant the shadow's "
                       "axis passes closest to the Earth's centre, at the latitude and "
                       "longitude given. Duration: of totality or annularity there."),
        this);
    legend->setWordWrap(true);
    layout->addWidget(legend);
    layout->addWidget(m_status);
    resize(1000, 420);

    connect(m_search, &QPushButton::clicked, this, &EclipseListDialog::StartSearch);
    connect(m_table, &QTableView::doubleClicked, this, &EclipseListDialog::OnDoubleClicked);
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
    m_worker = QThread::create([this, jdFrom, jdTo] { m_result = EclipsesBetween(jdFrom, jdTo); });
    connect(m_worker, &QThread::finished, this, &EclipseListDialog::OnSearchDone);
    m_worker->start();
}

void EclipseListDialog::OnSearchDone() {
    m_worker->wait();
    delete m_worker;
    m_worker = nullptr;
    m_model->SetEclipses(std::move(m_result));
    m_result.clear();
    m_table->resizeColumnsToContents();
    m_status->setText(QStringLiteral("%1 solar eclipses. Double-click one to show its map.")
                          .arg(m_model->rowCount()));
    m_search->setEnabled(true);
    emit SearchFinished();
}

void EclipseListDialog::OnDoubleClicked(const QModelIndex& index) {
    const QModelIndex source = m_proxy->mapToSource(index);
    if (!source.isValid())
        return;
    const CalendarDate date = GreatestEclipseDate(m_model->EclipseAt(source.row()));
    emit EclipseChosen(date.day, date.month, date.year);
}
