// Windows bitmaps (BMP) from files and from bytes, with the engine's German errors.
#pragma once

#include <QImage>

#include <string>
#include <string_view>

namespace orvane {

// Decodes the bytes of a Windows bitmap file; raises "Bitmap ist ungültig" for bytes that
// are no such bitmap (other image formats included).
QImage decodeWindowsBitmap(std::string_view bytes);

// Reads and decodes the bitmap file `file` (a script path); raises
// "Datei NAME kann nicht geöffnet werden. REASON" when it cannot be read.
QImage loadWindowsBitmapFile(std::string_view file);

} // namespace orvane
