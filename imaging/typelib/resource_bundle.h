#pragma once
// The resources the server library carries in its section ".scanvelt.resources":
// the type library image (TYPELIB 1), the toolbox bitmaps 30000 and 30001, the
// interface-identity lists and the self-registration mark. The section holds
// "SVRS", a 32-bit count, then per resource its kind, number, name (24 bytes,
// NUL-padded), offset and size from the section start, then the data.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace scanvelt::typelib {

enum class ResourceKind : uint32_t { TypeLib = 1, Bitmap = 2, InterfaceList = 3, Mark = 4 };

struct Resource {
    ResourceKind kind = ResourceKind::TypeLib;
    uint32_t number = 0;
    std::string name;
    std::vector<uint8_t> data;
    friend bool operator==(const Resource&, const Resource&) = default;
};

inline constexpr const char* kResourceSection = ".scanvelt.resources";

std::vector<uint8_t> WriteResourceBundle(const std::vector<Resource>& resources);
// nullopt for a bundle whose header, table or data do not fit the bytes.
std::optional<std::vector<Resource>> ReadResourceBundle(std::span<const uint8_t> bytes);

// Everything Scanvelt carries, built from the type library model.
std::vector<Resource> ScanveltResources();
// A 16 x 16 toolbox bitmap (BMP file bytes) showing `letter`.
std::vector<uint8_t> ToolboxBitmap(char letter);

}  // namespace scanvelt::typelib
