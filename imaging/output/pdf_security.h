#pragma once
// The standard security handler: revision 2 (40-bit RC4) and revision 3
// (128-bit RC4) of the PDF format, with MD5 and RC4 from nettle. Byte
// strings are carried in std::string, one char per byte.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace scanvelt {

// PdfEncryption values.
inline constexpr int32_t kPdfEncryptionNone = 0;
inline constexpr int32_t kPdfEncryption40BitRC4 = 1;
inline constexpr int32_t kPdfEncryption128BitRC4 = 2;

// PdfRight bits.
inline constexpr int32_t kPdfRightCanView = 0;
inline constexpr int32_t kPdfRightCanPrint = 1;
inline constexpr int32_t kPdfRightCanCopy = 2;
inline constexpr int32_t kPdfRightCanModify = 4;
inline constexpr int32_t kPdfRightCanAddNotes = 8;
inline constexpr int32_t kPdfRightCanFillFields = 16;
inline constexpr int32_t kPdfRightCanCopyAccess = 32;
inline constexpr int32_t kPdfRightCanAssemble = 64;
inline constexpr int32_t kPdfRightCanPrintFull = 128;

// The permission value P of revision 3: the PDF permission bits of the rights
// with bits 7, 8 and 13 to 32 set (-4 for every right, -3904 for none).
int32_t PermissionValue(int32_t rights);

std::string Md5String(std::string_view bytes);
// RC4 with the key cut to its first 256 bytes; an empty key or text gives "".
std::string Rc4String(std::string_view key, std::string_view bytes);
// RC4 in place; nothing for an empty key.
void Rc4InPlace(std::string_view key, std::span<uint8_t> bytes);

struct PdfSecurity {
    int32_t Mode = kPdfEncryptionNone;
    std::string FileKey;  // 5 or 16 bytes
    std::string O;        // 32 bytes
    std::string U;        // 32 bytes
    std::string P;        // the permission value as decimal text

    // Fills the values from the rights, the mode (1 or 2), the passwords (in
    // Windows-1252 bytes) and file identifier 1 (its 32 hex characters).
    void Compute(int32_t rights, int32_t mode, std::string ownerPassword, std::string userPassword,
                 std::string_view fileIdentifier);
    // The RC4 key of one object's strings and streams (10 or 16 bytes).
    std::string ObjectKey(int32_t objectNumber) const;
    // The Encrypt dictionary's one line, O and U escaped.
    std::string EncryptDictionary() const;
};

}  // namespace scanvelt
