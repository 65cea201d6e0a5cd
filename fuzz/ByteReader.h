#pragma once
// Reads a fuzz input from the front, a field at a time, so that seed inputs
// can be written by hand (fuzz/seeds.py) and read as they were meant; past
// the end every field reads as zero.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace fuzz {

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool more() const { return pos_ < size_; }
    std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::int16_t int16() {
        const auto low = byte();
        const auto high = byte();
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
    }
    //! An integer in [low, high]: one byte for a range of up to 256 values, else two.
    template <class T>
    T integer(T low, T high) {
        const auto range = static_cast<std::uint64_t>(high) - static_cast<std::uint64_t>(low) + 1;
        std::uint64_t raw = byte();
        if (range > 256) raw |= static_cast<std::uint64_t>(byte()) << 8;
        return static_cast<T>(static_cast<std::uint64_t>(low) + (range ? raw % range : raw));
    }
    bool flag() { return byte() & 1; }
    double float64() {
        std::uint8_t bytes[8] = {};
        for (auto& b : bytes) b = byte();
        double value;
        std::memcpy(&value, bytes, sizeof value);
        return value;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

}  // namespace fuzz
