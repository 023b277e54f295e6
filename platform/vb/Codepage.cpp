#include "vb/Codepage.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace vb {

namespace {

// One conversion descriptor per direction, opened on first use; iconv
// keeps no state between whole conversions once reset.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `in`; an input sequence that cannot be converted is replaced
    // by `replacement` and skipped by `skip(pointer, left)` bytes.
    template <class Skip>
    QByteArray convert(const QByteArray& in, char replacement, Skip skip) const
    {
        QByteArray out;
        if (cd_ == reinterpret_cast<iconv_t>(-1) || in.isEmpty())
            return out;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        out.resize(in.size() * 2 + 8);
        char* src = const_cast<char*>(in.constData());
        std::size_t srcLeft = static_cast<std::size_t>(in.size());
        std::size_t used = 0;
        while (srcLeft > 0) {
            char* dst = out.data() + used;
            std::size_t dstLeft = static_cast<std::size_t>(out.size()) - used;
            const std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            used = static_cast<std::size_t>(dst - out.data());
            if (r != static_cast<std::size_t>(-1))
                break;
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            // EILSEQ or EINVAL: one character that does not convert.
            if (used + 1 > static_cast<std::size_t>(out.size()))
                out.resize(out.size() * 2);
            out[static_cast<int>(used++)] = replacement;
            const std::size_t n = std::min(skip(src, srcLeft), srcLeft);
            src += n;
            srcLeft -= n;
        }
        out.resize(static_cast<int>(used));
        return out;
    }

private:
    iconv_t cd_;
};

// The length of the UTF-8 sequence starting at p.
std::size_t utf8Length(const char* p, std::size_t)
{
    const auto c = static_cast<unsigned char>(*p);
    return c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
}

// A GBK lead byte takes its trail byte with it; anything else goes alone.
std::size_t gbkLength(const char* p, std::size_t left)
{
    const auto c = static_cast<unsigned char>(*p);
    return c >= 0x81 && c <= 0xFE && left >= 2 ? 2 : 1;
}

} // namespace

QByteArray toAnsi(const QString& text)
{
    static const Converter c("GBK", "UTF-8");
    return c.convert(text.toUtf8(), '?', utf8Length);
}

QString fromAnsi(const QByteArray& bytes)
{
    static const Converter c("UTF-8", "GBK");
    return QString::fromUtf8(c.convert(bytes, '?', gbkLength));
}

int lenB(const QString& text)
{
    return static_cast<int>(toAnsi(text).size());
}

} // namespace vb
