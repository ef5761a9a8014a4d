// Feeds arbitrary bytes to the record reader. The first byte says how many of the following bytes
// choose the kinds of reads; the rest is the file. Beyond the sanitizers' checks, it holds the
// reader to its promises: reads always come to an end, the first failure is kept, and whatever
// is read can be written and read back.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "employee/record_file.h"

namespace {

using kestrel::Currency;
using kestrel::RecordReader;

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// Reads back one written field, as the file would hold it.
RecordReader ReadBack(const kestrel::RecordField& field) {
    return RecordReader::FromText(field.text + "\r\n");
}

void CheckText(const std::string& value) {
    std::string clean = kestrel::SanitizeRecordText(value);
    Check(clean.find('"') == std::string::npos);
    RecordReader reader = ReadBack(kestrel::field::Text(value));
    std::string back;
    Check(reader.Text(back) && back == clean && reader.AtEnd());
}

void CheckMoney(Currency value) {
    RecordReader reader = ReadBack(kestrel::field::Money(value));
    Currency back;
    Check(reader.Money(back) && back == value);
}

void CheckInt16(std::int16_t value) {
    RecordReader reader = ReadBack(kestrel::field::Int16(value));
    std::int16_t back = 0;
    Check(reader.Int16(back) && back == value);
}

// The number texts keep 7 and 15 digits, so a read-back is close rather than equal; at the edges
// of the range the rounded text may lie outside it, so only ordinary magnitudes must come back.
void CheckSingle(float value) {
    float size = std::fabs(value);
    if (!(size == 0.0F || (size > 1e-30F && size < 1e30F))) return;
    RecordReader reader = ReadBack(kestrel::field::Single(value));
    float back = 0;
    Check(reader.Single(back) && std::fabs(back - value) <= size * 1e-6F);
}

void CheckDouble(double value) {
    double size = std::fabs(value);
    if (!(size == 0.0 || (size > 1e-300 && size < 1e300))) return;
    RecordReader reader = ReadBack(kestrel::field::Double(value));
    double back = 0;
    Check(reader.Double(back) && std::fabs(back - value) <= size * 1e-14);
}

bool ReadOne(RecordReader& reader, std::uint8_t kind) {
    switch (kind % 7) {
        case 0: {
            std::string value;
            if (!reader.Text(value)) return false;
            CheckText(value);
            return true;
        }
        case 1: {
            float value = 0;
            if (!reader.Single(value)) return false;
            CheckSingle(value);
            return true;
        }
        case 2: {
            double value = 0;
            if (!reader.Double(value)) return false;
            CheckDouble(value);
            return true;
        }
        case 3: {
            std::int16_t value = 0;
            if (!reader.Int16(value)) return false;
            CheckInt16(value);
            return true;
        }
        case 4: {
            bool value = false;
            return reader.Bool(value);
        }
        case 5: {
            Currency value;
            if (!reader.Money(value)) return false;
            CheckMoney(value);
            return true;
        }
        default:
            return reader.Skip();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::size_t kindCount = 1 + data[0] % 16;
    if (kindCount > size - 1) kindCount = size - 1;
    const std::uint8_t* kinds = data + 1;
    std::string text(reinterpret_cast<const char*>(data + 1 + kindCount), size - 1 - kindCount);

    RecordReader reader = RecordReader::FromText(text);
    // Every field but a last empty one takes at least one byte, so this bounds a correct reader.
    const std::size_t mostFields = text.size() + 1;
    std::size_t reads = 0;
    while (!reader.AtEnd()) {
        std::uint8_t kind = kindCount == 0 ? 0 : kinds[reads % kindCount];
        ++reads;
        Check(reads <= mostFields);
        if (!ReadOne(reader, kind)) break;
    }

    if (reader.AtEnd() && reader.Ok()) {
        // Past the end there is nothing more to read, and that is an error.
        Check(!reader.Skip());
        Check(reader.Error()->reason == "unexpected end of file");
    }
    if (!reader.Ok()) {
        const kestrel::ReadError first = *reader.Error();
        Check(first.field >= 1 && first.field <= reads + 1 && !first.reason.empty());
        Check(!reader.Skip());
        Check(reader.Error()->field == first.field && reader.Error()->reason == first.reason);
    }
    return 0;
}
