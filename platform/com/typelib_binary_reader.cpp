#include <array>
#include <cstring>

#include "platform/com/typelib_binary.h"
#include "platform/com/typelib_binary_layout.h"

namespace com {
namespace {

using namespace msft;

constexpr uint32_t kMaxTypes = 0x10000;
constexpr uint32_t kMaxMembers = 0x10000;

struct Failure {
    const char* reason;
};

// Bounds-checked reads from the image.
class Image {
public:
    explicit Image(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    size_t size() const { return bytes_.size(); }
    void need(uint64_t offset, uint64_t count, const char* what) const {
        if (offset > bytes_.size() || count > bytes_.size() - offset) throw Failure{what};
    }
    int32_t i32(uint64_t offset) const {
        need(offset, 4, "a field lies outside the image");
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | bytes_[offset + i];
        return static_cast<int32_t>(v);
    }
    int16_t i16(uint64_t offset) const {
        need(offset, 2, "a field lies outside the image");
        return static_cast<int16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
    }
    std::string text(uint64_t offset, uint64_t count) const {
        need(offset, count, "a text lies outside the image");
        return std::string(reinterpret_cast<const char*>(bytes_.data() + offset), count);
    }
    GUID guid(uint64_t offset) const {
        need(offset, 16, "a GUID lies outside the image");
        std::array<uint8_t, 16> b{};
        std::memcpy(b.data(), bytes_.data() + offset, 16);
        return GUID::fromBytes(b);
    }
    double r8(uint64_t offset) const {
        need(offset, 8, "a value lies outside the image");
        double d;
        std::memcpy(&d, bytes_.data() + offset, 8);
        return d;
    }

private:
    std::span<const uint8_t> bytes_;
};

struct SegmentRef {
    uint32_t offset = 0;
    uint32_t length = 0;
};

class Reader {
public:
    explicit Reader(std::span<const uint8_t> bytes) : image_(bytes) {}

    TypeLibModel read() {
        if (image_.size() < kHeaderSize) throw Failure{"the image is shorter than its header"};
        if (static_cast<uint32_t>(image_.i32(0)) != kMagic) throw Failure{"the image does not start with MSFT"};
        if (static_cast<uint32_t>(image_.i32(4)) != kFormatVersion) throw Failure{"unknown format version"};
        uint32_t count = static_cast<uint32_t>(image_.i32(0x20));
        if (count > kMaxTypes) throw Failure{"too many type entries"};
        uint32_t directory = kHeaderSize + 4 * count;
        image_.need(directory, uint64_t{kSegmentCount} * kSegmentEntrySize, "the segment directory is cut off");
        for (uint32_t s = 0; s < kSegmentCount; ++s) {
            int32_t offset = image_.i32(directory + s * kSegmentEntrySize);
            int32_t length = image_.i32(directory + s * kSegmentEntrySize + 4);
            if (length < 0) throw Failure{"a segment has a negative length"};
            if (offset == -1) {
                if (length) throw Failure{"an absent segment has a length"};
                continue;
            }
            if (offset < 0) throw Failure{"a segment has a negative offset"};
            image_.need(static_cast<uint32_t>(offset), static_cast<uint32_t>(length), "a segment lies outside the image");
            segments_[s] = {static_cast<uint32_t>(offset), static_cast<uint32_t>(length)};
        }
        if (segments_[TypeInfoTab].length < uint64_t{count} * kTypeInfoSize) throw Failure{"the type table is too short"};
        typeCount_ = count;

        TypeLibModel model;
        model.libid = guidAt(image_.i32(0x08));
        model.lcid = static_cast<LCID>(image_.i32(0x0C));
        uint32_t version = static_cast<uint32_t>(image_.i32(0x18));
        model.major = static_cast<uint16_t>(version);
        model.minor = static_cast<uint16_t>(version >> 16);
        model.flags = static_cast<uint16_t>(image_.i32(0x1C));
        model.doc = stringAt(image_.i32(0x24));
        model.name = nameAt(image_.i32(0x38));
        for (uint32_t i = 0; i < count; ++i) {
            if (image_.i32(kHeaderSize + 4 * i) != static_cast<int32_t>(i * kTypeInfoSize))
                throw Failure{"a type offset does not name its entry"};
            model.types.push_back(typeInfo(i));
        }
        return model;
    }

private:
    uint64_t inSegment(Segment s, int32_t offset, uint32_t count, const char* what) const {
        if (offset < 0 || static_cast<uint64_t>(offset) + count > segments_[s].length) throw Failure{what};
        return uint64_t{segments_[s].offset} + static_cast<uint32_t>(offset);
    }

    GUID guidAt(int32_t offset) const {
        if (offset == -1) return GUID{};
        return image_.guid(inSegment(GuidTab, offset, kGuidEntrySize, "a GUID reference is out of range"));
    }

    std::string nameAt(int32_t offset) const {
        uint64_t at = inSegment(NameTab, offset, 12, "a name reference is out of range");
        uint32_t length = static_cast<uint32_t>(image_.i32(at + 8)) & 0xFF;
        inSegment(NameTab, offset, 12 + length, "a name runs past its table");
        return image_.text(at + 12, length);
    }

    std::string stringAt(int32_t offset) const {
        if (offset == -1) return {};
        uint64_t at = inSegment(StringTab, offset, 2, "a string reference is out of range");
        int16_t length = image_.i16(at);
        if (length < 0) throw Failure{"a string has a negative length"};
        inSegment(StringTab, offset, 2 + static_cast<uint32_t>(length), "a string runs past its table");
        return image_.text(at + 2, static_cast<uint32_t>(length));
    }

    std::string referencedName(int32_t reference) const {
        if (reference & static_cast<int32_t>(kImportedReference)) {
            int32_t entry = reference & ~static_cast<int32_t>(kImportedReference);
            uint64_t at = inSegment(ImpInfo, entry, kImpInfoSize, "an import reference is out of range");
            if (guidAt(image_.i32(at + 8)) != IID_IDispatch) throw Failure{"an unknown imported type"};
            return "IDispatch";
        }
        if (reference < 0 || reference % kTypeInfoSize || static_cast<uint32_t>(reference) / kTypeInfoSize >= typeCount_)
            throw Failure{"a type reference is out of range"};
        uint64_t record = segments_[TypeInfoTab].offset + static_cast<uint32_t>(reference);
        return nameAt(image_.i32(record + 0x34));
    }

    // A data-type word: the type, the name of a referenced type, by reference.
    void dataType(int32_t word, VARTYPE& vt, std::string& typeName, bool* byRef, int depth = 0) const {
        if (depth > 2) throw Failure{"a type descriptor chain is too deep"};
        if (IsBasicType(static_cast<uint32_t>(word))) {
            vt = BasicVt(static_cast<uint32_t>(word));
            if (vt == VT_VOID) vt = VT_EMPTY;
            return;
        }
        uint64_t at = inSegment(TypeDescTab, word, 8, "a type descriptor reference is out of range");
        auto descVt = static_cast<VARTYPE>(image_.i16(at));
        int32_t data = image_.i32(at + 4);
        if (descVt == VT_PTR && byRef && depth == 0) {
            *byRef = true;
            dataType(data, vt, typeName, nullptr, depth + 1);
        } else if (descVt == VT_USERDEFINED) {
            vt = VT_USERDEFINED;
            typeName = referencedName(data);
        } else {
            throw Failure{"an unknown type descriptor"};
        }
    }

    DefaultValue valueAt(int32_t offset) const {
        uint64_t at = inSegment(CustData, offset, 2, "a value reference is out of range");
        auto vt = static_cast<VARTYPE>(image_.i16(at));
        switch (vt) {
            case VT_I4: inSegment(CustData, offset, 6, "a value runs past its table"); return image_.i32(at + 2);
            case VT_R8: inSegment(CustData, offset, 10, "a value runs past its table"); return image_.r8(at + 2);
            case VT_BOOL: inSegment(CustData, offset, 4, "a value runs past its table"); return image_.i16(at + 2) != 0;
            case VT_BSTR: {
                inSegment(CustData, offset, 6, "a value runs past its table");
                int32_t length = image_.i32(at + 2);
                if (length < 0) throw Failure{"a text value has a negative length"};
                inSegment(CustData, offset, 6 + static_cast<uint32_t>(length), "a text value runs past its table");
                return image_.text(at + 6, static_cast<uint32_t>(length));
            }
            default: throw Failure{"an unknown value type"};
        }
    }

    TypeInfoModel typeInfo(uint32_t index) const {
        uint64_t at = segments_[TypeInfoTab].offset + uint64_t{index} * kTypeInfoSize;
        TypeInfoModel t;
        t.kind = static_cast<TYPEKIND>(image_.i32(at) & 0xF);
        if (t.kind > TKIND_UNION) throw Failure{"an unknown type kind"};
        int32_t block = image_.i32(at + 4);
        uint32_t elements = static_cast<uint32_t>(image_.i32(at + 0x18));
        uint32_t funcs = elements & 0xFFFF;
        uint32_t vars = elements >> 16;
        t.guid = guidAt(image_.i32(at + 0x2C));
        t.flags = static_cast<uint16_t>(image_.i32(at + 0x30));
        t.name = nameAt(image_.i32(at + 0x34));
        t.doc = stringAt(image_.i32(at + 0x3C));
        uint32_t implCount = static_cast<uint16_t>(image_.i16(at + 0x4C));
        int32_t datatype1 = image_.i32(at + 0x54);
        if (t.kind == TKIND_ALIAS) {
            VARTYPE vt = VT_EMPTY;
            dataType(datatype1, vt, t.aliasOf, nullptr);
            if (vt != VT_USERDEFINED) throw Failure{"an alias of no type"};
        } else {
            int32_t ref = datatype1;
            for (uint32_t r = 0; r < implCount; ++r) {
                uint64_t rec = inSegment(RefTab, ref, kRefRecordSize, "an implemented-type reference is out of range");
                t.implTypes.push_back({referencedName(image_.i32(rec)), image_.i32(rec + 4)});
                ref = image_.i32(rec + 12);
            }
        }
        if (funcs + vars == 0) return t;
        if (funcs + vars > kMaxMembers) throw Failure{"too many members"};
        if (block < 0) throw Failure{"members without a member block"};
        uint32_t total = static_cast<uint32_t>(image_.i32(static_cast<uint32_t>(block)));
        uint64_t records = uint64_t{static_cast<uint32_t>(block)} + 4;
        uint64_t tables = records + total;
        image_.need(records, total, "the member records run past the image");
        uint32_t n = funcs + vars;
        image_.need(tables, uint64_t{n} * 12, "the member tables run past the image");
        for (uint32_t i = 0; i < n; ++i) {
            int32_t id = image_.i32(tables + 4 * i);
            std::string memberName = nameAt(image_.i32(tables + 4 * (n + i)));
            int32_t recordOffset = image_.i32(tables + 4 * (2 * n + i));
            if (recordOffset < 0 || static_cast<uint64_t>(recordOffset) + 20 > total) throw Failure{"a member record is out of range"};
            uint64_t rec = records + static_cast<uint32_t>(recordOffset);
            uint32_t size = static_cast<uint32_t>(image_.i32(rec)) & 0xFFFF;
            if (static_cast<uint64_t>(recordOffset) + size > total) throw Failure{"a member record runs past its block"};
            if (i < funcs) t.members.push_back(function(rec, size, id, std::move(memberName)));
            else t.constants.push_back({std::move(memberName), std::get<int32_t>(constant(rec, size))});
        }
        return t;
    }

    MemberModel function(uint64_t rec, uint32_t size, int32_t id, std::string name) const {
        if (size < 24) throw Failure{"a function record is too short"};
        MemberModel m;
        m.name = std::move(name);
        m.id = id;
        dataType(image_.i32(rec + 4), m.result, m.resultTypeName, nullptr);
        uint32_t flags = static_cast<uint32_t>(image_.i32(rec + 16));
        m.kind = static_cast<INVOKEKIND>((flags >> 3) & 0xF);
        int16_t params = image_.i16(rec + 20);
        if (params < 0) throw Failure{"a negative parameter count"};
        bool defaults = flags & kHasDefaults;
        uint64_t need = 24 + (defaults ? 4u : 0u) * static_cast<uint32_t>(params) + 12u * static_cast<uint32_t>(params);
        if (need > size) throw Failure{"a function record is shorter than its parameters"};
        uint64_t defaultsAt = rec + 24;
        uint64_t paramsAt = defaultsAt + (defaults ? 4u * static_cast<uint32_t>(params) : 0u);
        for (int16_t p = 0; p < params; ++p) {
            ParamModel param;
            uint64_t at = paramsAt + 12u * static_cast<uint32_t>(p);
            dataType(image_.i32(at), param.type, param.typeName, &param.byRef);
            param.name = nameAt(image_.i32(at + 4));
            uint32_t pflags = static_cast<uint32_t>(image_.i32(at + 8));
            param.optional = pflags & PARAMFLAG_FOPT;
            if (defaults && (pflags & PARAMFLAG_FHASDEFAULT)) param.defaultValue = valueAt(image_.i32(defaultsAt + 4u * static_cast<uint32_t>(p)));
            m.params.push_back(std::move(param));
        }
        return m;
    }

    DefaultValue constant(uint64_t rec, uint32_t size) const {
        if (size < 20) throw Failure{"a constant record is too short"};
        if (image_.i16(rec + 12) != VAR_CONST) throw Failure{"a variable that is no constant"};
        DefaultValue v = valueAt(image_.i32(rec + 16));
        if (!std::holds_alternative<int32_t>(v)) throw Failure{"a constant that is no 32-bit integer"};
        return v;
    }

    Image image_;
    std::array<SegmentRef, kSegmentCount> segments_{};
    uint32_t typeCount_ = 0;
};

}  // namespace

std::optional<TypeLibModel> ReadTypeLibImage(std::span<const uint8_t> image, std::string* error) {
    try {
        return Reader(image).read();
    } catch (const Failure& failure) {
        if (error) *error = failure.reason;
        return std::nullopt;
    }
}

}  // namespace com
