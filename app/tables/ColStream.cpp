#include "ColStream.h"

#include <cstring>
#include <limits>

static_assert(std::numeric_limits<long double>::digits == 64, "table values need the 80-bit extended type");

namespace {

constexpr std::size_t ExtendedSize = 10;

}  // namespace

void TValueWriter::Raw(const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    FBytes.insert(FBytes.end(), bytes, bytes + size);
}

void TValueWriter::WriteInteger(int32_t value)
{
    if (value >= INT8_MIN && value <= INT8_MAX) {
        Tag(TValueTag::Int8);
        const auto v = static_cast<int8_t>(value);
        Raw(&v, sizeof v);
    } else if (value >= INT16_MIN && value <= INT16_MAX) {
        Tag(TValueTag::Int16);
        const auto v = static_cast<int16_t>(value);
        Raw(&v, sizeof v);
    } else {
        Tag(TValueTag::Int32);
        Raw(&value, sizeof value);
    }
}

void TValueWriter::WriteFloat(long double value)
{
    Tag(TValueTag::Extended);
    Raw(&value, ExtendedSize);
}

void TValueWriter::WriteString(const std::string& value)
{
    if (value.size() <= 255) {
        Tag(TValueTag::String);
        FBytes.push_back(static_cast<uint8_t>(value.size()));
    } else {
        Tag(TValueTag::LString);
        const auto size = static_cast<uint32_t>(value.size());
        Raw(&size, sizeof size);
    }
    Raw(value.data(), value.size());
}

void TValueWriter::WriteBoolean(bool value) { Tag(value ? TValueTag::True : TValueTag::False); }

void TValueWriter::WriteListBegin() { Tag(TValueTag::List); }

void TValueWriter::WriteListEnd() { Tag(TValueTag::Null); }

void TValueReader::Raw(void* data, std::size_t size)
{
    if (FBytes.size() - FPos < size)
        throw EReadError("Unexpected end of declaration stream");
    std::memcpy(data, FBytes.data() + FPos, size);
    FPos += size;
}

TValueTag TValueReader::NextTag() const
{
    if (FPos == FBytes.size())
        throw EReadError("Unexpected end of declaration stream");
    return static_cast<TValueTag>(FBytes[FPos]);
}

TValueTag TValueReader::ReadTag()
{
    const TValueTag tag = NextTag();
    ++FPos;
    return tag;
}

namespace {

[[noreturn]] void WrongValue(TValueTag tag)
{
    throw EReadError("Invalid value type " + std::to_string(static_cast<int>(tag)) + " in declaration stream");
}

}  // namespace

int32_t TValueReader::ReadInteger()
{
    switch (const TValueTag tag = ReadTag()) {
    case TValueTag::Int8: {
        int8_t v;
        Raw(&v, sizeof v);
        return v;
    }
    case TValueTag::Int16: {
        int16_t v;
        Raw(&v, sizeof v);
        return v;
    }
    case TValueTag::Int32: {
        int32_t v;
        Raw(&v, sizeof v);
        return v;
    }
    default: WrongValue(tag);
    }
}

long double TValueReader::ReadFloat()
{
    if (const TValueTag tag = ReadTag(); tag != TValueTag::Extended)
        WrongValue(tag);
    long double value = 0;  // clears the padding bytes beyond the ten read
    Raw(&value, ExtendedSize);
    return value;
}

std::string TValueReader::ReadString()
{
    uint32_t size = 0;
    switch (const TValueTag tag = ReadTag()) {
    case TValueTag::String: {
        uint8_t s;
        Raw(&s, sizeof s);
        size = s;
        break;
    }
    case TValueTag::LString: Raw(&size, sizeof size); break;
    default: WrongValue(tag);
    }
    if (FBytes.size() - FPos < size)
        throw EReadError("Unexpected end of declaration stream");
    std::string value(reinterpret_cast<const char*>(FBytes.data() + FPos), size);
    FPos += size;
    return value;
}

bool TValueReader::ReadBoolean()
{
    switch (const TValueTag tag = ReadTag()) {
    case TValueTag::False: return false;
    case TValueTag::True: return true;
    default: WrongValue(tag);
    }
}

void TValueReader::ReadListBegin()
{
    if (const TValueTag tag = ReadTag(); tag != TValueTag::List)
        WrongValue(tag);
}

bool TValueReader::EndOfList()
{
    if (NextTag() != TValueTag::Null)
        return false;
    ++FPos;
    return true;
}
