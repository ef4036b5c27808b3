#include "app/login/password_scrambler.h"

#include "app/login/convert_error.h"
#include "app/login/random_generator.h"

namespace qirelo::app::login {
namespace {

// Walks the key one byte per password byte, starting over after its end. The
// length is taken before an empty key is replaced by the default, so an empty
// key stays at its first position: every byte meets 'P' alone.
class KeyCursor {
public:
    explicit KeyCursor(std::string_view key)
        : length_(key.size()), key_(key.empty() ? kDefaultPasswordKey : key) {}

    unsigned char Next() {
        position_ = position_ < length_ ? position_ + 1 : 1;
        return static_cast<unsigned char>(key_[position_ - 1]);
    }

private:
    std::size_t length_;
    std::string_view key_;
    std::size_t position_ = 0;
};

void append_hex_byte(std::string& out, unsigned value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out += kDigits[(value >> 4) & 0xF];
    out += kDigits[value & 0xF];
}

// Up to two characters from a 0-based offset, read as a hex number.
unsigned read_hex_pair(std::string_view text, std::size_t offset) {
    return static_cast<unsigned>(HexToInt(text.substr(offset, 2)));
}

} // namespace

std::string ScramblePassword(std::string_view password, std::string_view key) {
    RandomGenerator generator;
    generator.Randomize();
    return ScramblePasswordWithSeed(password, key,
                                    static_cast<std::uint8_t>(generator.Random(256)));
}

std::string ScramblePasswordWithSeed(std::string_view password, std::string_view key,
                                     std::uint8_t seed) {
    std::string out;
    out.reserve(2 + 2 * password.size());
    append_hex_byte(out, seed);
    KeyCursor cursor(key);
    unsigned previous = seed;
    for (char byte : password) {
        const unsigned shifted = (previous + static_cast<unsigned char>(byte)) % 255;
        const unsigned scrambled = shifted ^ cursor.Next();
        append_hex_byte(out, scrambled);
        previous = scrambled;
    }
    return out;
}

std::string UnscramblePassword(std::string_view text, std::string_view key) {
    unsigned previous = read_hex_pair(text, 0);
    std::string out;
    if (text.size() <= 2)
        return out;
    KeyCursor cursor(key);
    // A trailing odd digit is left unread, except right after the seed, where
    // it is read as a one-digit pair.
    std::size_t offset = 2;
    do {
        const unsigned scrambled = read_hex_pair(text, offset);
        const unsigned shifted = scrambled ^ cursor.Next();
        const unsigned byte = shifted > previous ? shifted - previous : shifted + 255 - previous;
        out += static_cast<char>(byte & 0xFF);
        previous = scrambled;
        offset += 2;
    } while (offset + 1 < text.size());
    return out;
}

} // namespace qirelo::app::login
