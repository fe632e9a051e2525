#include "imaging/output/pdf_security.h"

#include <nettle/arcfour.h>
#include <nettle/md5.h>

#include <algorithm>

#include "imaging/output/pdf_syntax.h"

namespace scanvelt {
namespace {

// The padding string of the standard security handler.
constexpr unsigned char kPadding[32] = {0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41, 0x64, 0x00, 0x4E,
                                        0x56, 0xFF, 0xFA, 0x01, 0x08, 0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68,
                                        0x3E, 0x80, 0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A};

std::string_view Padding() { return {reinterpret_cast<const char*>(kPadding), sizeof kPadding}; }

std::string Padded(std::string_view password) {
    std::string out(password.substr(0, 32));
    out.append(Padding().substr(0, 32 - out.size()));
    return out;
}

std::string XorKey(std::string_view key, int i) {
    std::string out(key);
    for (char& c : out) c = static_cast<char>(static_cast<unsigned char>(c) ^ i);
    return out;
}

std::string LittleEndian32(int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF), static_cast<char>((v >> 16) & 0xFF),
            static_cast<char>((v >> 24) & 0xFF)};
}

}  // namespace

int32_t PermissionValue(int32_t rights) {
    static constexpr std::pair<int32_t, int32_t> kBits[] = {
        {kPdfRightCanPrint, 4},        {kPdfRightCanCopy, 16},        {kPdfRightCanModify, 8},
        {kPdfRightCanAddNotes, 32},    {kPdfRightCanFillFields, 256}, {kPdfRightCanCopyAccess, 512},
        {kPdfRightCanAssemble, 1024},  {kPdfRightCanPrintFull, 2048},
    };
    int32_t flags = 0;
    for (const auto& [right, bit] : kBits) {
        if (rights & right) flags |= bit;
    }
    return (flags & 4095) - 3904;
}

std::string Md5String(std::string_view bytes) {
    md5_ctx context;
    md5_init(&context);
    md5_update(&context, bytes.size(), reinterpret_cast<const uint8_t*>(bytes.data()));
    std::string digest(MD5_DIGEST_SIZE, '\0');
    md5_digest(&context, MD5_DIGEST_SIZE, reinterpret_cast<uint8_t*>(digest.data()));
    return digest;
}

void Rc4InPlace(std::string_view key, std::span<uint8_t> bytes) {
    if (key.empty() || bytes.empty()) return;
    key = key.substr(0, ARCFOUR_MAX_KEY_SIZE);
    arcfour_ctx context;
    arcfour_set_key(&context, key.size(), reinterpret_cast<const uint8_t*>(key.data()));
    arcfour_crypt(&context, bytes.size(), bytes.data(), bytes.data());
}

std::string Rc4String(std::string_view key, std::string_view bytes) {
    if (key.empty()) return {};
    std::string out(bytes);
    Rc4InPlace(key, {reinterpret_cast<uint8_t*>(out.data()), out.size()});
    return out;
}

void PdfSecurity::Compute(int32_t rights, int32_t mode, std::string ownerPassword, std::string userPassword,
                          std::string_view fileIdentifier) {
    Mode = mode;
    const bool ownerBlank = std::all_of(ownerPassword.begin(), ownerPassword.end(), [](char c) { return c == ' '; });
    if (ownerBlank) ownerPassword = userPassword;
    const std::string owner32 = Padded(ownerPassword);
    const std::string user32 = Padded(userPassword);
    const int32_t permissions = PermissionValue(rights);

    if (mode == kPdfEncryption128BitRC4) {
        std::string h = Md5String(owner32);
        for (int i = 0; i < 50; ++i) h = Md5String(h);
        const std::string ownerKey = h;
        std::string o = Rc4String(ownerKey, user32);
        for (int i = 1; i <= 19; ++i) o = Rc4String(XorKey(ownerKey, i), o);
        O = o;

        h = Md5String(user32 + O + LittleEndian32(permissions) + std::string(fileIdentifier));
        for (int i = 0; i < 50; ++i) h = Md5String(h);
        FileKey = h;

        std::string u = Rc4String(FileKey, Md5String(std::string(Padding()) + std::string(fileIdentifier)));
        for (int i = 1; i <= 19; ++i) u = Rc4String(XorKey(FileKey, i), u);
        U = u + std::string(16, ' ');
        P = std::to_string(permissions);
    } else {
        O = Rc4String(Md5String(owner32).substr(0, 5), user32);
        // Revision 2 knows only the low byte of the permissions.
        const int32_t lowPermissions = static_cast<int32_t>(static_cast<uint32_t>(permissions & 0xFF) | 0xFFFFFF00u);
        FileKey = Md5String(user32 + O + LittleEndian32(lowPermissions) + std::string(fileIdentifier)).substr(0, 5);
        U = Rc4String(FileKey, Padding());
        P = std::to_string(lowPermissions);
    }
}

std::string PdfSecurity::ObjectKey(int32_t objectNumber) const {
    const auto n = static_cast<uint32_t>(objectNumber);
    std::string material = FileKey;
    material += static_cast<char>(n & 0xFF);
    material += static_cast<char>((n >> 8) & 0xFF);
    material += static_cast<char>((n >> 16) & 0xFF);
    material += std::string(2, '\0');
    return Md5String(material).substr(0, Mode == kPdfEncryption128BitRC4 ? 16 : 10);
}

std::string PdfSecurity::EncryptDictionary() const {
    return "<< /Filter /Standard \r/O (" + EscapePdfString(O) + ")\r/U (" + EscapePdfString(U) + ")\r/P " + P +
           "\r" + (Mode == kPdfEncryption128BitRC4 ? "/V 2 /R 3 /Length 128 >>" : "/V 1 /R 2 >>");
}

}  // namespace scanvelt
