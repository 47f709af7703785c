#pragma once

// The side panel of local circumstances: the text of the place chosen last on the map
// (a left click, or Enter on the keyboard cursor), kept open and replaced by the next
// choice, with a button that copies it to the clipboard.

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

class LocalPanel : public QWidget {
    Q_OBJECT

public:
    explicit LocalPanel(QWidget* parent = nullptr);

    void ShowText(const QString& text);
    QString Text() const;
    // Puts the text on the clipboard (the Copy button).
    void CopyText() const;

private:
    QPlainTextEdit* m_pText = nullptr;
    QPushButton* m_pCopy = nullptr;
};
