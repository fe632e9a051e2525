// Seeds of the sweep's fuzz target: one call of every member of both controls
// in the state with an image, each with the argument classes' values in turn.
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace {

void Put(std::vector<uint8_t>& bytes, uint64_t value, int count) {
    for (int i = 0; i < count; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string folder = argv[1];
    // Control, state, member, then integer, real, boolean, text selector, array length.
    const int32_t integers[] = {0, -1, INT32_MIN, INT32_MAX, 1, 100};
    int n = 0;
    for (uint8_t control = 0; control < 2; ++control) {
        for (uint16_t member = 0; member < 400; member += 3) {
            std::vector<uint8_t> bytes;
            bytes.push_back(control);
            bytes.push_back(static_cast<uint8_t>(member % 4));
            Put(bytes, member, 2);
            Put(bytes, static_cast<uint32_t>(integers[member % 6]), 4);
            Put(bytes, 0x3FF0000000000000ull, 8);  // 1.0
            bytes.push_back(1);
            bytes.push_back(static_cast<uint8_t>(member % 10));  // one of the classes' texts
            bytes.push_back(3);
            std::ofstream(folder + "/seed-" + std::to_string(n++), std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        }
    }
    return 0;
}
