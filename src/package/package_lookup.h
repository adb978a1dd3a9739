// The install package as the built-ins see it.
#pragma once

#include "builtin_services.h"
#include "package_document.h"

namespace orvane {

class PackageLookup : public PackageAccess {
  public:
    explicit PackageLookup(const PackageDocument& document) : m_document(document) {}

    std::int32_t arrayLength(std::string_view path) const override {
        return static_cast<std::int32_t>(m_document.packageArray(path).size());
    }
    std::string text(std::string_view path) const override {
        return std::string(m_document.packageString(path));
    }
    // Decodes the text where it lies in the document, one piece at a time.
    std::unique_ptr<ByteSource> bytes(std::string_view path) const override;
    std::uint64_t byteCount(std::string_view path) const override;
    std::optional<std::string> findEmbeddedFile(std::string_view id) const override {
        return m_document.findEmbeddedFile(id);
    }

  private:
    const PackageDocument& m_document;
};

} // namespace orvane
