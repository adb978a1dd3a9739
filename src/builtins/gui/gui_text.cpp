// Texts and colours for widgets.
#include "gui_text.h"

#include "qt_message_dialog.h"
#include "short_text.h"

namespace orvane {

QString displayText(std::string_view text) {
    return QString::fromStdString(withDisplayLineBreaks(std::string(text)));
}

QString plainText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string engineText(const QString& text) {
    return cutText(text.toStdString());
}

std::string convertBackslashN(std::string_view caption) {
    std::string converted;
    converted.reserve(caption.size());
    for (std::size_t k = 0; k < caption.size(); ++k) {
        if (caption[k] == '\\' && k + 1 < caption.size() && caption[k + 1] == 'n') {
            converted += '\r';
            ++k;
        } else {
            converted += caption[k];
        }
    }
    return converted;
}

QColor windowsColour(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    return QColor(static_cast<int>(bits & 0xFFu), static_cast<int>((bits >> 8) & 0xFFu),
                  static_cast<int>((bits >> 16) & 0xFFu));
}

} // namespace orvane
