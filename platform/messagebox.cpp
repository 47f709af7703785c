#include "platform/messagebox.h"

#include <QMessageBox>

int CMessageRecorder::Show(QWidget* /*parent*/, const MessageBoxCall& call) {
    m_calls.push_back(call);
    return IDOK;
}

namespace {

QMessageBox::Icon IconOf(unsigned style) {
    switch (style & MB_ICONMASK) {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

int ShowModalMessageBox(QWidget* parent, const MessageBoxCall& call) {
    QMessageBox box(IconOf(call.style), call.caption, call.text, QMessageBox::Ok, parent);
    box.exec();
    return IDOK;
}
