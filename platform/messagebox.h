#pragma once

// Message boxes: one call with text, caption and style. The program shows them modally;
// tests give the window a recorder that collects them instead of blocking.

#include <QString>

#include <vector>

class QWidget;

// Styles (combinable: one button set and one icon).
enum MessageBoxStyle : unsigned {
    MB_OK = 0x0,
    MB_ICONERROR = 0x10,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
};
constexpr unsigned MB_ICONMASK = 0xf0;
constexpr int IDOK = 1;

struct MessageBoxCall {
    QString text;
    QString caption;
    unsigned style = MB_OK;
};

// Where a window's message boxes go.
class IMessageBoxSink {
public:
    virtual ~IMessageBoxSink() = default;
    virtual int Show(QWidget* parent, const MessageBoxCall& call) = 0;
};

// Collects the boxes in order and answers OK at once.
class CMessageRecorder : public IMessageBoxSink {
public:
    int Show(QWidget* parent, const MessageBoxCall& call) override;

    std::vector<MessageBoxCall> m_calls;
};

// Shows a modal QMessageBox with an OK button and the icon of the style.
int ShowModalMessageBox(QWidget* parent, const MessageBoxCall& call);
