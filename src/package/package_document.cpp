// Package lookups: path resolution, conversions and their error texts.
#include "package_document.h"

#include "package_path.h"
#include "script_error.h"

#include <utility>

namespace orvane {

namespace {

// The kind names of the conversion error.
std::string_view kindName(JsonKind kind) {
    switch (kind) {
    case JsonKind::Null:
        return "null";
    case JsonKind::False:
    case JsonKind::True:
        return "Boolean";
    case JsonKind::Number:
        return "Zahl";
    case JsonKind::String:
        return "String";
    case JsonKind::Array:
        return "Array";
    case JsonKind::Object:
        return "Objekt";
    }
    return "?";
}

[[noreturn]] void failConversion(JsonKind from, JsonKind to) {
    throw ScriptError("Konvertierung von " + std::string(kindName(from)) + " in " +
                      std::string(kindName(to)) + " wird nicht unterstützt");
}

std::string indexedPath(std::size_t index, std::string_view member) {
    return "binfiles[" + std::to_string(index) + "]." + std::string(member);
}

} // namespace

PackageDocument::PackageDocument(std::optional<JsonDocument> document)
    : m_document(std::move(document)) {}

std::optional<JsonValue> PackageDocument::find(std::string_view path) const {
    if (!m_document)
        return std::nullopt;
    return resolvePackagePath(m_document->root(), path);
}

JsonValue PackageDocument::require(std::string_view path) const {
    const std::optional<JsonValue> value = find(path);
    if (!value)
        throw ScriptError("Wert '" + std::string(path) + "' nicht gefunden");
    return *value;
}

std::string_view PackageDocument::packageString(std::string_view path) const {
    const JsonValue value = require(path);
    switch (value.kind()) {
    case JsonKind::String:
    case JsonKind::Number:
        return value.text();
    case JsonKind::True:
        return "true";
    case JsonKind::False:
        return "false";
    case JsonKind::Null:
        return "";
    case JsonKind::Array:
    case JsonKind::Object:
        break;
    }
    failConversion(value.kind(), JsonKind::String);
}

JsonValue PackageDocument::packageArray(std::string_view path) const {
    const JsonValue value = require(path);
    if (!value.isArray())
        failConversion(value.kind(), JsonKind::Array);
    return value;
}

PackedFile PackageDocument::packedFile(std::string_view path) const {
    // A text with escapes is decoded from its written form, never unescaped whole.
    const JsonValue::Content content = require(path).content();
    const std::string_view base64 = content.escaped ? content.bytes : packageString(path);
    ResolvedPackagePath resolved = resolvePackagePathWithOwner(m_document->root(), path);
    if (resolved.memberName != "bin")
        resolved.owner.reset();
    PackedFile file = describePackedFile(std::string(path), base64, resolved.owner);
    file.base64Escaped = content.escaped;
    return file;
}

std::string PackageDocument::packageBytes(std::string_view path) const {
    return readPackedFile(packedFile(path));
}

std::optional<std::string> PackageDocument::findEmbeddedFile(std::string_view id) const {
    const std::size_t count = packageArray("binfiles").size();
    for (std::size_t i = 0; i < count; ++i) {
        if (packageString(indexedPath(i, "id")) == id)
            return packageBytes(indexedPath(i, "bin"));
    }
    return std::nullopt;
}

} // namespace orvane
