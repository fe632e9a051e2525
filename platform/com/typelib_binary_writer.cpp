#include <array>
#include <cstring>
#include <map>

#include "platform/com/typelib_binary.h"
#include "platform/com/typelib_binary_layout.h"

namespace com {
namespace {

using namespace msft;

class Bytes {
public:
    uint32_t size() const { return static_cast<uint32_t>(data_.size()); }
    void i32(int64_t v) {
        uint32_t u = static_cast<uint32_t>(v);
        for (int i = 0; i < 4; ++i) data_.push_back(static_cast<uint8_t>(u >> (8 * i)));
    }
    void i16(int64_t v) {
        uint16_t u = static_cast<uint16_t>(v);
        data_.push_back(static_cast<uint8_t>(u));
        data_.push_back(static_cast<uint8_t>(u >> 8));
    }
    void raw(const void* p, size_t n) {
        auto* b = static_cast<const uint8_t*>(p);
        data_.insert(data_.end(), b, b + n);
    }
    void pad(uint8_t with) {
        while (data_.size() % 4) data_.push_back(with);
    }
    void put32(uint32_t at, int64_t v) {
        uint32_t u = static_cast<uint32_t>(v);
        for (int i = 0; i < 4; ++i) data_[at + i] = static_cast<uint8_t>(u >> (8 * i));
    }
    const std::vector<uint8_t>& data() const { return data_; }

private:
    std::vector<uint8_t> data_;
};

// Names and GUIDs hash into fixed tables; readers here follow the tables'
// chains only to find an entry by name, so any stable hash serves.
uint32_t hashName(const std::string& name) {
    uint32_t h = 0;
    for (char c : name) h = h * 31 + static_cast<uint8_t>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return h;
}

class Writer {
public:
    explicit Writer(const TypeLibModel& model) : model_(model) {
        for (auto& s : segments_) s = Bytes{};
        for (uint32_t i = 0; i < kGuidHashSize / 4; ++i) segments_[GuidHashTab].i32(-1);
        for (uint32_t i = 0; i < kNameHashSize / 4; ++i) segments_[NameHashTab].i32(-1);
    }

    std::vector<uint8_t> write() {
        const uint32_t count = static_cast<uint32_t>(model_.types.size());
        int32_t libGuid = guid(model_.libid, -2);
        int32_t libName = name(model_.name, -1);
        int32_t libDoc = string(model_.doc);
        importStdole();
        // Names and GUIDs of the types first, so that references resolve in any order.
        for (uint32_t i = 0; i < count; ++i) {
            typeNames_.push_back(name(model_.types[i].name, static_cast<int32_t>(i * kTypeInfoSize)));
            const auto& t = model_.types[i];
            typeGuids_.push_back(t.guid.isNull() ? -1 : guid(t.guid, static_cast<int32_t>(i * kTypeInfoSize)));
        }
        std::vector<Bytes> blocks(count);
        for (uint32_t i = 0; i < count; ++i) typeInfo(i, blocks[i]);

        Bytes file;
        file.i32(kMagic);
        file.i32(kFormatVersion);
        file.i32(libGuid);
        file.i32(model_.lcid);
        file.i32(model_.lcid);
        file.i32(SYS_WIN64);
        file.i32(model_.major | (uint32_t{model_.minor} << 16));
        file.i32(model_.flags);
        file.i32(count);
        file.i32(libDoc);
        file.i32(0);  // help string context
        file.i32(0);  // help context
        file.i32(nameCount_);
        file.i32(nameChars_);
        file.i32(libName);
        file.i32(-1);  // help file
        file.i32(-1);  // custom data
        file.i32(0x20);
        file.i32(0x80);
        file.i32(dispatchImport_);
        file.i32(1);  // imported types
        for (uint32_t i = 0; i < count; ++i) file.i32(i * kTypeInfoSize);
        uint32_t directory = file.size();
        uint32_t offset = directory + kSegmentCount * kSegmentEntrySize;
        std::array<uint32_t, kSegmentCount> segmentOffset{};
        for (uint32_t s = 0; s < kSegmentCount; ++s) {
            segmentOffset[s] = offset;
            bool empty = segments_[s].size() == 0;
            file.i32(empty ? -1 : static_cast<int64_t>(offset));
            file.i32(segments_[s].size());
            file.i32(-1);
            file.i32(0x0F);
            offset += segments_[s].size();
        }
        // Member blocks follow the segments; their offsets go into the type records.
        std::vector<uint32_t> blockOffset(count);
        for (uint32_t i = 0; i < count; ++i) {
            blockOffset[i] = blocks[i].size() ? offset : 0xFFFFFFFFu;
            offset += blocks[i].size();
        }
        for (uint32_t i = 0; i < count; ++i) segments_[TypeInfoTab].put32(i * kTypeInfoSize + 4, static_cast<int32_t>(blockOffset[i]));
        for (uint32_t s = 0; s < kSegmentCount; ++s) file.raw(segments_[s].data().data(), segments_[s].size());
        for (auto& b : blocks) file.raw(b.data().data(), b.size());
        return file.data();
    }

private:
    int32_t guid(const GUID& g, int32_t reference) {
        Bytes& tab = segments_[GuidTab];
        int32_t at = static_cast<int32_t>(tab.size());
        auto bytes = g.bytes();
        tab.raw(bytes.data(), bytes.size());
        tab.i32(reference);
        uint32_t bucket = (g.data1 ^ g.data2 ^ g.data3) % (kGuidHashSize / 4);
        int32_t previous = hashHead(GuidHashTab, bucket);
        tab.i32(previous);
        segments_[GuidHashTab].put32(bucket * 4, at);
        return at;
    }

    int32_t hashHead(Segment segment, uint32_t bucket) {
        const auto& d = segments_[segment].data();
        int32_t v;
        std::memcpy(&v, d.data() + bucket * 4, 4);
        return v;
    }

    int32_t name(const std::string& text, int32_t reference) {
        auto known = names_.find(text);
        if (known != names_.end()) return known->second;
        Bytes& tab = segments_[NameTab];
        int32_t at = static_cast<int32_t>(tab.size());
        uint32_t hash = hashName(text);
        uint32_t bucket = hash % (kNameHashSize / 4);
        tab.i32(reference);
        tab.i32(hashHead(NameHashTab, bucket));
        tab.i32(static_cast<uint32_t>(text.size() & 0xFF) | 0x3800u | ((hash & 0xFFFF) << 16));
        tab.raw(text.data(), text.size());
        tab.pad(kPadding);
        segments_[NameHashTab].put32(bucket * 4, at);
        names_[text] = at;
        ++nameCount_;
        nameChars_ += static_cast<int32_t>(text.size());
        return at;
    }

    int32_t string(const std::string& text) {
        if (text.empty()) return -1;
        Bytes& tab = segments_[StringTab];
        int32_t at = static_cast<int32_t>(tab.size());
        tab.i16(static_cast<int64_t>(text.size()));
        tab.raw(text.data(), text.size());
        tab.pad(kPadding);
        return at;
    }

    void importStdole() {
        int32_t stdoleGuid = guid(IID_IStdOle, -1);
        Bytes& files = segments_[ImpFiles];
        files.i32(stdoleGuid);
        files.i32(0);
        files.i32(2);  // version 2.0
        const std::string file = "stdole2.tlb";
        files.i16(static_cast<int64_t>(file.size() << 2));
        files.raw(file.data(), file.size());
        files.pad(kPadding);
        int32_t dispatchGuid = guid(IID_IDispatch, 0);
        Bytes& imports = segments_[ImpInfo];
        dispatchImport_ = static_cast<int32_t>(imports.size());
        imports.i32((1u << 24) | (uint32_t{TKIND_DISPATCH} << 16));
        imports.i32(0);
        imports.i32(dispatchGuid);
    }

    int32_t reference(const std::string& typeName) {
        int index = FindTypeIndex(model_, typeName);
        if (index < 0) return dispatchImport_ | static_cast<int32_t>(kImportedReference);
        return index * static_cast<int32_t>(kTypeInfoSize);
    }

    int32_t typeDesc(uint16_t vt, int32_t data) {
        Bytes& tab = segments_[TypeDescTab];
        int32_t at = static_cast<int32_t>(tab.size());
        tab.i16(vt);
        tab.i16(0x7FFE);
        tab.i32(data);
        return at;
    }

    int32_t dataType(VARTYPE vt, const std::string& typeName, bool byRef) {
        int32_t word = vt == VT_USERDEFINED ? typeDesc(VT_USERDEFINED, reference(typeName))
                                            : static_cast<int32_t>(BasicType(vt == VT_EMPTY ? VARTYPE{VT_VOID} : vt));
        return byRef ? typeDesc(VT_PTR, word) : word;
    }

    int32_t value(const DefaultValue& v) {
        Bytes& tab = segments_[CustData];
        int32_t at = static_cast<int32_t>(tab.size());
        if (auto* i = std::get_if<int32_t>(&v)) {
            tab.i16(VT_I4);
            tab.i32(*i);
        } else if (auto* d = std::get_if<double>(&v)) {
            tab.i16(VT_R8);
            tab.raw(d, sizeof *d);
        } else if (auto* b = std::get_if<bool>(&v)) {
            tab.i16(VT_BOOL);
            tab.i16(*b ? -1 : 0);
        } else {
            const auto& s = std::get<std::string>(v);
            tab.i16(VT_BSTR);
            tab.i32(static_cast<int64_t>(s.size()));
            tab.raw(s.data(), s.size());
        }
        tab.pad(kPadding);
        return at;
    }

    void typeInfo(uint32_t index, Bytes& block) {
        const TypeInfoModel& t = model_.types[index];
        // Member records.
        Bytes records;
        std::vector<int32_t> ids, nameOffsets, recordOffsets;
        for (size_t f = 0; f < t.members.size(); ++f) {
            const MemberModel& m = t.members[f];
            bool defaults = false;
            for (const auto& p : m.params) defaults = defaults || p.defaultValue.has_value();
            uint32_t size = 24 + (defaults ? 4u : 0u) * static_cast<uint32_t>(m.params.size()) +
                            12u * static_cast<uint32_t>(m.params.size());
            recordOffsets.push_back(static_cast<int32_t>(records.size()));
            records.i32(size | (static_cast<uint32_t>(f) << 16));
            records.i32(dataType(m.result, m.resultTypeName, false));
            records.i32(0);
            records.i16(static_cast<int64_t>((7 + f) * 8));
            records.i16(0);
            records.i32(FUNC_DISPATCH | (static_cast<uint32_t>(m.kind) << 3) | (uint32_t{CC_STDCALL} << 8) |
                        (defaults ? kHasDefaults : 0));
            int16_t optionalCount = 0;
            for (const auto& p : m.params) optionalCount += (p.optional || p.defaultValue) ? 1 : 0;
            records.i16(static_cast<int64_t>(m.params.size()));
            records.i16(optionalCount);
            if (defaults) {
                for (const auto& p : m.params) records.i32(p.defaultValue ? value(*p.defaultValue) : -1);
            }
            for (const auto& p : m.params) {
                records.i32(dataType(p.type, p.typeName, p.byRef));
                records.i32(name(p.name, -1));
                records.i32(PARAMFLAG_FIN | (p.optional ? PARAMFLAG_FOPT : 0) |
                            (p.defaultValue ? PARAMFLAG_FHASDEFAULT : 0));
            }
            ids.push_back(m.id);
            nameOffsets.push_back(name(m.name, static_cast<int32_t>(index * kTypeInfoSize)));
        }
        for (size_t v = 0; v < t.constants.size(); ++v) {
            const ConstantModel& c = t.constants[v];
            recordOffsets.push_back(static_cast<int32_t>(records.size()));
            records.i32(20u | (static_cast<uint32_t>(v) << 16));
            records.i32(BasicType(VT_I4));
            records.i32(0);
            records.i16(VAR_CONST);
            records.i16(0);
            records.i32(value(DefaultValue{c.value}));
            ids.push_back(static_cast<int32_t>(0x40000000 + v));
            nameOffsets.push_back(name(c.name, static_cast<int32_t>(index * kTypeInfoSize)));
        }
        if (!ids.empty()) {
            block.i32(records.size());
            block.raw(records.data().data(), records.size());
            for (int32_t id : ids) block.i32(id);
            for (int32_t n : nameOffsets) block.i32(n);
            for (int32_t r : recordOffsets) block.i32(r);
        }
        // Implemented interfaces, chained.
        int32_t firstRef = -1;
        Bytes& refs = segments_[RefTab];
        for (size_t r = 0; r < t.implTypes.size(); ++r) {
            int32_t at = static_cast<int32_t>(refs.size());
            if (r == 0) firstRef = at;
            refs.i32(reference(t.implTypes[r].name));
            refs.i32(t.implTypes[r].flags);
            refs.i32(-1);
            refs.i32(r + 1 < t.implTypes.size() ? at + static_cast<int32_t>(kRefRecordSize) : -1);
        }
        int32_t alias = t.kind == TKIND_ALIAS ? typeDesc(VT_USERDEFINED, reference(t.aliasOf)) : -1;

        Bytes& tab = segments_[TypeInfoTab];
        tab.i32(static_cast<uint32_t>(t.kind) | (3u << 11));
        tab.i32(-1);  // member block offset, filled in when the file is laid out
        tab.i32(-1);
        tab.i32(-1);
        tab.i32(0x38);
        tab.i32(-1);
        tab.i32(static_cast<uint32_t>(t.members.size()) | (static_cast<uint32_t>(t.constants.size()) << 16));
        tab.i32(0);
        tab.i32(0);
        tab.i32(0);
        tab.i32(0);
        tab.i32(typeGuids_[index]);
        tab.i32(t.flags);
        tab.i32(typeNames_[index]);
        tab.i32(model_.major | (uint32_t{model_.minor} << 16));
        tab.i32(string(t.doc));
        tab.i32(0);
        tab.i32(0);
        tab.i32(-1);
        tab.i16(static_cast<int64_t>(t.implTypes.size()));
        tab.i16(t.kind == TKIND_DISPATCH || t.kind == TKIND_INTERFACE ? 7 * 8 : 0);
        tab.i32(t.kind == TKIND_ENUM ? 4 : 8);
        tab.i32(t.kind == TKIND_ALIAS ? alias : firstRef);
        tab.i32(0);
        tab.i32(0);
        tab.i32(-1);
    }

    const TypeLibModel& model_;
    std::array<Bytes, kSegmentCount> segments_;
    std::map<std::string, int32_t> names_;
    std::vector<int32_t> typeNames_, typeGuids_;
    int32_t nameCount_ = 0;
    int32_t nameChars_ = 0;
    int32_t dispatchImport_ = 0;
};

}  // namespace

std::vector<uint8_t> WriteTypeLibImage(const TypeLibModel& model) { return Writer(model).write(); }

}  // namespace com
