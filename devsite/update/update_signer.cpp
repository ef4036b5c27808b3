#include "devsite/update/update_signer.h"

#include "tools/p256_signing.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <system_error>

namespace qirelo::devsite {
namespace {

namespace fs = std::filesystem;

// A file of the temporary folder that goes with its scope.
class ScratchFile {
public:
    ScratchFile() {
        static std::atomic<unsigned> counter{0};
        path_ = fs::temp_directory_path() /
                ("qirelo-devsite-sign-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)) +
                 "-" + std::to_string(counter++));
    }
    ~ScratchFile() {
        std::error_code ignored;
        fs::remove(path_, ignored);
        fs::remove(signature(), ignored);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const fs::path& path() const { return path_; }
    fs::path signature() const { return fs::path(path_.string() + ".sig"); }

private:
    fs::path path_;
};

std::string read_all(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

} // namespace

UpdateSigner::UpdateSigner(fs::path private_key) : private_key_(std::move(private_key)) {
    signature_of("probe");
}

// Signed as the publisher signs, through the files `qirelo-tool sign` reads
// and writes.
std::string UpdateSigner::signature_of(std::string_view bytes) const {
    const ScratchFile scratch;
    {
        std::ofstream file(scratch.path(), std::ios::binary);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!file.flush()) {
            throw tools::SigningError("cannot write " + scratch.path().string());
        }
    }
    tools::sign_file(private_key_, scratch.path(), scratch.signature());
    return read_all(scratch.signature());
}

} // namespace qirelo::devsite
