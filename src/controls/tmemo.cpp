// Multi-line text field.
#include "tmemo.h"

namespace orvane {

TMemo::TMemo(QWidget* parent) : QPlainTextEdit(parent) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

} // namespace orvane
