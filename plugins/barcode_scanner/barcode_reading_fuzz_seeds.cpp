// Writes the barcode fuzzer's seeds into the folder given: packed DIBs of a
// linear code and a DataMatrix symbol drawn by zint.
#include <fstream>
#include <string>

#include "plugins/barcode_scanner/testing/zint_symbols.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    files::testing::ScratchFolder scratch("barcode-seeds");
    const std::pair<const char*, const char*> symbols[] = {{"CODE128", "Seed 1"}, {"DATAMATRIX", "Seed 2"}};
    int n = 0;
    for (const auto& [symbology, data] : symbols) {
        const std::string file = barcode::testing::ZintFile(scratch, "s.bmp", symbology, data, 1);
        const std::vector<uint8_t> bytes = barcode::testing::FileBytes(file);
        if (bytes.size() <= 14) return 1;
        // A BMP file is its 14-byte file header and a packed DIB.
        std::ofstream(std::string(argv[1]) + "/seed" + std::to_string(n++) + ".dib", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data() + 14), std::streamsize(bytes.size() - 14));
    }
    return 0;
}
