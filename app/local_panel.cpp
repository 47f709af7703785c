#include "app/local_panel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

LocalPanel::LocalPanel(QWidget* parent) : QWidget(parent) {
    m_pText = new QPlainTextEdit(this);
    m_pText->setObjectName(QStringLiteral("localText"));
    m_pText->setReadOnly(true);
    m_pText->setTabStopDistance(m_pText->fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 3);
    m_pText->setPlaceholderText(
        QStringLiteral("Click a place on the map (or move the keyboard cursor there with "
                       "Shift and the arrow keys and press Enter) to see what it sees of the "
                       "eclipse of the date in the fields."));
    m_pCopy = new QPushButton(QStringLiteral("&Copy"), this);
    m_pCopy->setObjectName(QStringLiteral("copyLocal"));
    m_pCopy->setToolTip(QStringLiteral("Copy the text to the clipboard"));
    m_pCopy->setEnabled(false);
    connect(m_pCopy, &QPushButton::clicked, this, [this] { CopyText(); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_pText, 1);
    layout->addWidget(m_pCopy, 0, Qt::AlignRight);
    // Narrow enough to sit beside a small window's map; the text scrolls.
    setMinimumWidth(160);
}

void LocalPanel::ShowText(const QString& text) {
    m_pText->setPlainText(text);
    m_pCopy->setEnabled(!text.isEmpty());
}

QString LocalPanel::Text() const {
    return m_pText->toPlainText();
}

void LocalPanel::CopyText() const {
    QGuiApplication::clipboard()->setText(Text());
}
