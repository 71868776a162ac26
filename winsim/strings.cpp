// Strings: LoadStringA from a module's string table, and wsprintfA.
//
// The rules follow what the platform does (checked under Wine):
// - LoadStringA: string `id` is entry id % 16 of the RT_STRING block id / 16 + 1 (each
//   entry a WORD length and that many UTF-16 units). It is converted to the ANSI code
//   page (1252 here; characters it lacks become "?", the platform's best-fit mapping is
//   not simulated), cut to size - 1 characters and terminated; the return value is the
//   number of characters copied. A missing or empty string gives "" and 0; a size of 0
//   gives -1 and leaves the buffer alone. (A null instance, the program itself on the
//   platform, is not simulated: it has no strings.)
// - wsprintfA: fields "%[-][#][0][width][.precision][l|h|w|I64]type", the flags only in
//   that order; types c, C, d, i, s, S, u, x, X, p. Anything else ends the field and is
//   written as ordinary text, with no argument taken ("%+d" writes "+d", "%.2f" "f").
//   - Numbers: the sign counts in the length; precision pads with zeros; "0" pads to the
//     width with zeros (not with "-"); "#" puts "0x"/"0X" before hex digits, outside
//     the width; "l", "h" and "w" change nothing (32-bit arguments), "I64" takes 64 bits.
//   - %s: null writes "(null)"; precision 0 means no limit; width pads with blanks
//     (never zeros). %c writes the low byte of its argument, padded like %s.
//   - %p: hex digits of a pointer, upper case, as wide as a pointer's digits.
//   - Wide forms (%S, %ls, %ws, %C, %lc) are not simulated: they write nothing and take
//     their argument. "#" on decimal fields is not simulated either.
//   - Output is limited to 1023 characters plus the terminator; when it reaches 1023,
//     the return value is 1024. Widths and precisions that would pass the limit are cut
//     to what is left, so a field near the end is padded as its cut width says.
#include "world.h"

#include <cstdarg>
#include <cstring>

namespace winsim {

// Windows-1252 for U+0080..U+FFFF: the characters at 0x80..0x9F, Latin-1 above.
char ToAnsi(WORD unit)
{
    static const WORD high[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                  0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return static_cast<char>(unit);
    for (int i = 0; i < 32; ++i)
        if (high[i] == unit)
            return static_cast<char>(0x80 + i);
    return '?';
}

namespace {

constexpr WORD RT_STRING_ID = 6;
constexpr int WSPRINTF_CHARACTERS = 1023;

std::string StringResource(HINSTANCE instance, UINT id)
{
    const Module *module = FindModule(instance);
    const Resource *block = module ? FindResourceEntry(*module, RT_STRING_ID, MAKEINTRESOURCEA(id / 16 + 1)) : nullptr;
    if (!block)
        return "";
    const std::vector<BYTE> &data = block->data;
    std::size_t at = 0;
    for (UINT entry = 0; entry < 16 && at + 2 <= data.size(); ++entry) {
        const std::size_t length = data[at] | data[at + 1] << 8;
        at += 2;
        if (entry == id % 16) {
            std::string text;
            for (std::size_t i = 0; i < length && at + 2 * i + 1 < data.size(); ++i)
                text += ToAnsi(static_cast<WORD>(data[at + 2 * i] | data[at + 2 * i + 1] << 8));
            return text;
        }
        at += 2 * length;
    }
    return "";
}

// One field of a wsprintfA format.
struct Field {
    bool left = false;
    bool hexPrefix = false;
    bool zeroPad = false;
    std::size_t width = 0;
    std::size_t precision = 0;
    bool longSize = false;   // "l"
    bool wideSize = false;   // "w"
    bool shortSize = false;  // "h"
    bool size64 = false;
    char type = 0;       // 0: not a field we know
};

// Parses the field after a "%"; returns the characters it takes. For an unknown type
// that stops before the type character, so that it is written as text.
std::size_t ParseField(const char *start, Field *field)
{
    const char *p = start;
    if (*p == '-') {
        field->left = true;
        ++p;
    }
    if (*p == '#') {
        field->hexPrefix = true;
        ++p;
    }
    if (*p == '0') {
        field->zeroPad = true;
        ++p;
    }
    while (*p >= '0' && *p <= '9')
        field->width = field->width * 10 + static_cast<std::size_t>(*p++ - '0');
    if (*p == '.') {
        ++p;
        while (*p >= '0' && *p <= '9')
            field->precision = field->precision * 10 + static_cast<std::size_t>(*p++ - '0');
    }
    if (*p == 'l') {
        field->longSize = true;
        ++p;
    } else if (*p == 'w') {
        field->wideSize = true;
        ++p;
    } else if (*p == 'h') {
        field->shortSize = true;
        ++p;
    } else if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
        field->size64 = true;
        p += 3;
    }
    if (std::strchr("cCdisSuxXp", *p) && *p) {
        field->type = *p;
        return static_cast<std::size_t>(p - start) + 1;
    }
    return static_cast<std::size_t>(p - start);
}

class Output {
public:
    explicit Output(LPSTR buffer) : buffer_(buffer) {}
    std::size_t Room() const { return WSPRINTF_CHARACTERS - count_; }
    void Put(char c)
    {
        if (count_ < WSPRINTF_CHARACTERS)
            buffer_[count_++] = c;
    }
    void Repeat(char c, std::size_t times)
    {
        for (std::size_t i = 0; i < times; ++i)
            Put(c);
    }
    int Finish()
    {
        buffer_[count_] = '\0';
        return count_ >= WSPRINTF_CHARACTERS ? WSPRINTF_CHARACTERS + 1 : static_cast<int>(count_);
    }

private:
    LPSTR buffer_;
    std::size_t count_ = 0;
};

void PutText(Output &out, Field field, const std::string &text)
{
    field.width = std::min(field.width, out.Room());
    const std::size_t length = std::min(text.size(), out.Room());
    const std::size_t pad = field.width > length ? field.width - length : 0;
    if (!field.left)
        out.Repeat(' ', pad);
    for (std::size_t i = 0; i < length; ++i)
        out.Put(text[i]);
    if (field.left)
        out.Repeat(' ', pad);
}

void PutNumber(Output &out, Field field, std::uint64_t value, bool negative)
{
    const bool hex = field.type == 'x' || field.type == 'X' || field.type == 'p';
    const char *digits = field.type == 'x' ? "0123456789abcdef" : "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), digits[value % (hex ? 16 : 10)]);
        value /= hex ? 16 : 10;
    } while (value);
    if (negative)
        text.insert(text.begin(), '-');

    if (field.left)
        field.zeroPad = false;
    field.width = std::min(field.width, out.Room());
    const std::size_t length = std::min(text.size(), out.Room());
    std::size_t precision = std::min(std::max(field.precision, length), out.Room());
    if (field.zeroPad && field.width > precision)
        precision = field.width;
    const std::size_t pad = field.width > precision ? field.width - precision : 0;
    if (!field.left)
        out.Repeat(' ', pad);
    if (field.hexPrefix && hex) {
        out.Put('0');
        out.Put(field.type == 'x' ? 'x' : 'X');
    }
    std::size_t at = 0;
    if (negative) {
        out.Put('-');
        at = 1;
    }
    out.Repeat('0', precision - length);
    for (; at < length; ++at)
        out.Put(text[at]);
    if (field.left)
        out.Repeat(' ', pad);
}

int Format(LPSTR buffer, LPCSTR format, va_list args)
{
    Output out(buffer);
    const char *p = format;
    while (*p && out.Room() > 0) {
        if (*p != '%') {
            out.Put(*p++);
            continue;
        }
        ++p;
        if (*p == '%') {
            out.Put(*p++);
            continue;
        }
        Field field;
        p += ParseField(p, &field);
        switch (field.type) {
        case 'c':
        case 'C':
            // Wide unless %c without "l" or %C with "h".
            if (field.type == 'c' ? field.longSize : !field.shortSize) {
                va_arg(args, int);
                break;
            }
            PutText(out, field, std::string(1, static_cast<char>(va_arg(args, int))));
            break;
        case 's':
        case 'S':
            // Wide for %ls, %ws and %S without "h" or "w".
            if (field.type == 's' ? field.longSize || field.wideSize : !(field.shortSize || field.wideSize)) {
                va_arg(args, const void *);
                break;
            }
            {
                const char *text = va_arg(args, const char *);
                std::string value = text ? text : "(null)";
                if (field.precision && value.size() > field.precision)
                    value.resize(field.precision);
                field.precision = 0;
                PutText(out, field, value);
            }
            break;
        case 'd':
        case 'i': {
            const std::int64_t value = field.size64 ? va_arg(args, std::int64_t) : va_arg(args, std::int32_t);
            PutNumber(out, field, value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value),
                      value < 0);
            break;
        }
        case 'u':
        case 'x':
        case 'X': {
            const std::uint64_t value = field.size64 ? va_arg(args, std::uint64_t) : va_arg(args, std::uint32_t);
            PutNumber(out, field, value, false);
            break;
        }
        case 'p':
            field.width = 2 * sizeof(void *);
            field.zeroPad = true;
            PutNumber(out, field, reinterpret_cast<std::uintptr_t>(va_arg(args, void *)), false);
            break;
        default:
            break;  // not a field: its text follows as ordinary characters
        }
    }
    return out.Finish();
}

}  // namespace
}  // namespace winsim

using namespace winsim;

int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int size)
{
    Log("LoadStringA", {Arg(instance), id, static_cast<std::uintptr_t>(size)});
    if (size <= 0 || !buffer)
        return -1;
    const std::string text = StringResource(instance, id);
    const std::size_t count = std::min(text.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return static_cast<int>(count);
}

int wsprintfA(LPSTR buffer, LPCSTR format, ...)
{
    Log("wsprintfA", {}, format);
    va_list args;
    va_start(args, format);
    const int count = Format(buffer, format, args);
    va_end(args);
    return count;
}
