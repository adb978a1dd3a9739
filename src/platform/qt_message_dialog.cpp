// QMessageBox behind the engine's message-box interface.
#include "qt_message_dialog.h"

#include <QMessageBox>
#include <QString>

namespace orvane {

namespace {

QMessageBox::Icon iconFor(int flags) {
    switch (flags & 0xF0) {
    case 16:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case 48:
        return QMessageBox::Warning;
    case 64:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

std::string withDisplayLineBreaks(const std::string& text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] == '\r') {
            shown += '\n';
            if (k + 1 < text.size() && text[k + 1] == '\n')
                ++k;
        } else {
            shown += text[k];
        }
    }
    return shown;
}

MessageAnswer QtMessageDialog::show(const std::string& text, const std::string& caption,
                                    int flags) {
    QMessageBox box(iconFor(flags), QString::fromStdString(caption),
                    QString::fromStdString(withDisplayLineBreaks(text)));
    box.setWindowModality(Qt::ApplicationModal);
    const bool yesNo = (flags & 0x0F) == 4;
    box.setStandardButtons(yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    const int pressed = box.exec();
    if (!yesNo)
        return idOk;
    return pressed == QMessageBox::Yes ? idYes : idNo;
}

} // namespace orvane
