// The path syntax of package lookups: binfiles[2].bin, ['a.b'], programfile.
#pragma once

#include "json_document.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// Follows `path` from `root` step by step: names (first one bare, later ones
// after "."), array indexes and quoted names in "[" "]". Returns nullopt as soon
// as a step finds no value. Throws ScriptError with the German text when the
// path is malformed.
std::optional<JsonValue> resolvePackagePath(JsonValue root, std::string_view path);

// A resolved path and, when its last step chose a member of an object, that object and the
// member's name (binfiles[0].bin: the element and "bin").
struct ResolvedPackagePath {
    std::optional<JsonValue> value;
    std::optional<JsonValue> owner;
    std::string memberName;
};
ResolvedPackagePath resolvePackagePathWithOwner(JsonValue root, std::string_view path);

} // namespace orvane
