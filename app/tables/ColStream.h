#pragma once

// Tagged value encoding of table declarations: every value is a tag byte
// followed by its bytes. A table's column list ("Col") is written and read
// with these two classes.
//
//   0x00 end of list         0x05 80-bit extended float (10 bytes)
//   0x01 start of list       0x06 string up to 255 characters (length byte)
//   0x02 8-bit integer       0x08 false
//   0x03 16-bit integer      0x09 true
//   0x04 32-bit integer      0x0C longer string (32-bit length)
//
// Multi-byte values are little-endian. The writer picks the smallest integer
// tag that holds a value; the reader accepts all three.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// A declaration stream that does not hold what the reader expects.
class EReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TValueTag : uint8_t {
    Null = 0x00,
    List = 0x01,
    Int8 = 0x02,
    Int16 = 0x03,
    Int32 = 0x04,
    Extended = 0x05,
    String = 0x06,
    False = 0x08,
    True = 0x09,
    LString = 0x0C,
};

class TValueWriter {
public:
    void WriteInteger(int32_t value);
    // The 80-bit extended value, bit for bit.
    void WriteFloat(long double value);
    void WriteString(const std::string& value);
    void WriteBoolean(bool value);
    void WriteListBegin();
    void WriteListEnd();

    const std::vector<uint8_t>& Bytes() const { return FBytes; }

private:
    void Tag(TValueTag tag) { FBytes.push_back(static_cast<uint8_t>(tag)); }
    void Raw(const void* data, std::size_t size);

    std::vector<uint8_t> FBytes;
};

// Reads from a byte buffer that must outlive the reader. Every read throws
// EReadError when the next value is not of the expected kind or the buffer
// ends early.
class TValueReader {
public:
    explicit TValueReader(const std::vector<uint8_t>& bytes) : FBytes(bytes) {}

    int32_t ReadInteger();
    long double ReadFloat();
    std::string ReadString();
    bool ReadBoolean();
    void ReadListBegin();
    // True (and consumed) when the next value is the end-of-list marker.
    bool EndOfList();

private:
    TValueTag NextTag() const;
    TValueTag ReadTag();
    void Raw(void* data, std::size_t size);

    const std::vector<uint8_t>& FBytes;
    std::size_t FPos = 0;
};
