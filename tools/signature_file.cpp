#include "tools/signature_file.h"

#include <fstream>

#include "tools/p256_signing.h"

namespace qirelo::tools {

void write_signature_file(const std::filesystem::path& path,
                          const std::vector<std::uint8_t>& signature) {
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(signature.data()),
                  static_cast<std::streamsize>(signature.size()));
        if (!out.flush()) {
            out.close();
            std::filesystem::remove(temporary);
            throw SigningError(path.string() + ": cannot be written");
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary);
        throw SigningError(path.string() + ": cannot be written (" + error.message() + ")");
    }
}

} // namespace qirelo::tools
