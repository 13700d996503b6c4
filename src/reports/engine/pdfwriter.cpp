#include "reports/engine/pdfwriter.h"

#include "reports/engine/document.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFontInfo>
#include <QHash>
#include <QRawFont>
#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>
#include <zlib.h>

namespace report {
namespace {

constexpr double kPtPerMm = 72.0 / 25.4;

// --- reading TrueType tables (big-endian, bounds-checked: a short table reads as zeros) ---

uint16_t u16(const QByteArray &a, qsizetype at)
{
    if (at < 0 || at + 2 > a.size())
        return 0;
    const auto *p = reinterpret_cast<const uchar *>(a.constData()) + at;
    return uint16_t(p[0] << 8 | p[1]);
}
int16_t s16(const QByteArray &a, qsizetype at)
{
    return int16_t(u16(a, at));
}
uint32_t u32(const QByteArray &a, qsizetype at)
{
    return uint32_t(u16(a, at)) << 16 | u16(a, at + 2);
}

void put16(QByteArray &a, qsizetype at, uint16_t v)
{
    a[at] = char(v >> 8);
    a[at + 1] = char(v);
}
void put32(QByteArray &a, qsizetype at, uint32_t v)
{
    put16(a, at, uint16_t(v >> 16));
    put16(a, at + 2, uint16_t(v));
}
void append16(QByteArray &a, uint16_t v)
{
    a.append(char(v >> 8));
    a.append(char(v));
}
void append32(QByteArray &a, uint32_t v)
{
    append16(a, uint16_t(v >> 16));
    append16(a, uint16_t(v));
}

// One TrueType face as the painter uses it: the tables needed to embed it, the character map as a
// flat table for the BMP, the advances and the descriptor metrics.
struct Face
{
    QByteArray head, hhea, maxp, hmtx, glyf, cvt, fpgm, prep, os2, post;
    int unitsPerEm = 1000;
    int numGlyphs = 0;
    std::vector<uint32_t> glyphStart; // numGlyphs + 1 offsets into glyf
    std::vector<uint16_t> advances;   // font units
    std::vector<uint16_t> bmp;        // BMP code point -> glyph
    struct Group
    {
        uint32_t first, last, glyph;
    };
    std::vector<Group> astral; // code points above the BMP, sorted
    // Kerning pairs of the 'kern' table, the ones the painter applies: sorted by left glyph, then
    // right; kernFrom[left] .. kernFrom[left + 1] is the left glyph's range (empty: no table).
    std::vector<uint32_t> kernFrom;
    std::vector<std::pair<uint16_t, int16_t>> kernPairs; // right glyph, adjustment in font units
    QByteArray psName;
    std::array<double, 4> bbox{};
    double ascent = 0, descent = 0, capHeight = 0, italicAngle = 0, stemV = 80;
    int flags = 4;

    uint16_t glyph(char32_t c) const
    {
        if (c < 0x10000)
            return bmp[c];
        auto it = std::upper_bound(astral.begin(), astral.end(), uint32_t(c),
                                   [](uint32_t v, const Group &g) { return v < g.first; });
        if (it == astral.begin())
            return 0;
        --it;
        if (c > it->last)
            return 0;
        const uint32_t g = it->glyph + (uint32_t(c) - it->first);
        return g < uint32_t(numGlyphs) ? uint16_t(g) : 0;
    }
    double width(uint16_t g) const { return advances[g] * 1000.0 / unitsPerEm; }
    int kerning(uint16_t left, uint16_t right) const
    {
        if (kernFrom.empty())
            return 0;
        const auto first = kernPairs.begin() + kernFrom[left], last = kernPairs.begin() + kernFrom[left + 1u];
        auto it = std::lower_bound(first, last, right, [](const auto &p, uint16_t r) { return p.first < r; });
        return it != last && it->first == right ? it->second : 0;
    }
    QByteArray glyphData(int g) const
    {
        return glyf.mid(glyphStart[size_t(g)], glyphStart[size_t(g) + 1] - glyphStart[size_t(g)]);
    }
};

bool readCmap(const QByteArray &cmap, Face &f)
{
    f.bmp.assign(0x10000, 0);
    const int count = u16(cmap, 2);
    qsizetype best12 = -1, best4 = -1;
    int rank12 = 0, rank4 = 0;
    for (int i = 0; i < count; ++i) {
        const int platform = u16(cmap, 4 + 8 * i), encoding = u16(cmap, 6 + 8 * i);
        const qsizetype offset = u32(cmap, 8 + 8 * i);
        const int format = u16(cmap, offset);
        const bool unicode = platform == 0 || (platform == 3 && (encoding == 1 || encoding == 10));
        if (format == 12 && unicode) {
            const int rank = platform == 3 ? 2 : 1;
            if (rank > rank12)
                best12 = offset, rank12 = rank;
        } else if (format == 4) {
            // Unicode first; a symbol font's map (3,0) only when there is nothing else.
            const int rank = platform == 3 && encoding == 1 ? 3 : unicode ? 2 : platform == 3 ? 1 : 0;
            if (rank > rank4)
                best4 = offset, rank4 = rank;
        }
    }
    auto valid = [&](uint32_t g) { return g < uint32_t(f.numGlyphs) ? uint16_t(g) : uint16_t(0); };
    if (best12 >= 0) {
        const uint32_t groups = u32(cmap, best12 + 12);
        if (best12 + 16 + qsizetype(groups) * 12 > cmap.size())
            return false;
        for (uint32_t i = 0; i < groups; ++i) {
            const qsizetype at = best12 + 16 + qsizetype(i) * 12;
            const uint32_t first = u32(cmap, at), last = u32(cmap, at + 4), glyph = u32(cmap, at + 8);
            if (last < first || last > 0x10FFFF)
                continue;
            for (uint32_t c = first; c <= std::min<uint32_t>(last, 0xFFFF); ++c)
                f.bmp[c] = valid(glyph + (c - first));
            if (last > 0xFFFF) {
                const uint32_t from = std::max<uint32_t>(first, 0x10000);
                f.astral.push_back({from, last, glyph + (from - first)});
            }
        }
        std::sort(f.astral.begin(), f.astral.end(),
                  [](const Face::Group &a, const Face::Group &b) { return a.first < b.first; });
        return true;
    }
    if (best4 < 0)
        return false;
    const qsizetype t = best4;
    const int segs = u16(cmap, t + 6) / 2;
    const qsizetype ends = t + 14, starts = ends + 2 * segs + 2, deltas = starts + 2 * segs,
                    ranges = deltas + 2 * segs;
    if (ranges + 2 * segs > cmap.size())
        return false;
    for (int s = 0; s < segs; ++s) {
        const uint32_t end = u16(cmap, ends + 2 * s), start = u16(cmap, starts + 2 * s);
        const uint16_t delta = u16(cmap, deltas + 2 * s), range = u16(cmap, ranges + 2 * s);
        for (uint32_t c = start; c <= end && c < 0xFFFF; ++c) {
            uint32_t g;
            if (range == 0) {
                g = (c + delta) & 0xFFFF;
            } else {
                g = u16(cmap, ranges + 2 * s + range + 2 * (c - start));
                if (g != 0)
                    g = (g + delta) & 0xFFFF;
            }
            f.bmp[c] = valid(g);
        }
    }
    return true;
}

// Horizontal format-0 subtables of a version-0 'kern' table, read as the painter reads them
// (coverage exactly "horizontal"); a later pair for the same glyphs wins.
void readKerning(const QByteArray &kern, Face &f)
{
    if (u16(kern, 0) != 0)
        return;
    std::vector<std::pair<uint32_t, int16_t>> pairs;
    qsizetype offset = 4;
    for (int t = 0, tables = u16(kern, 2); t < tables; ++t) {
        const int length = u16(kern, offset + 2), coverage = u16(kern, offset + 4);
        if (length < 6 || offset + length > kern.size())
            break;
        if (u16(kern, offset) == 0 && coverage == 0x0001) {
            const int n = u16(kern, offset + 6);
            if (n * 6 + 8 > length - 6)
                break;
            for (int i = 0; i < n; ++i) {
                const qsizetype at = offset + 14 + 6 * qsizetype(i);
                const uint16_t left = u16(kern, at), right = u16(kern, at + 2);
                if (left < f.numGlyphs && right < f.numGlyphs)
                    pairs.emplace_back(uint32_t(left) << 16 | right, s16(kern, at + 4));
            }
        }
        offset += length;
    }
    if (pairs.empty())
        return;
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    f.kernFrom.assign(size_t(f.numGlyphs) + 1, 0);
    for (size_t i = 0; i < pairs.size(); ++i) {
        if (i + 1 < pairs.size() && pairs[i + 1].first == pairs[i].first)
            continue;
        f.kernPairs.emplace_back(uint16_t(pairs[i].first), pairs[i].second);
        ++f.kernFrom[(pairs[i].first >> 16) + 1];
    }
    for (size_t g = 1; g < f.kernFrom.size(); ++g)
        f.kernFrom[g] += f.kernFrom[g - 1];
}

// The PostScript name (name id 6), reduced to characters a PDF name can hold as they are.
QByteArray postScriptName(const QByteArray &name, const QRawFont &raw)
{
    QByteArray out;
    const int count = u16(name, 2);
    const qsizetype strings = u16(name, 4);
    for (int i = 0; i < count && out.isEmpty(); ++i) {
        const qsizetype rec = 6 + 12 * qsizetype(i);
        const int platform = u16(name, rec), encoding = u16(name, rec + 2), id = u16(name, rec + 6);
        const qsizetype len = u16(name, rec + 8), at = strings + u16(name, rec + 10);
        if (id != 6 || at + len > name.size())
            continue;
        if (platform == 3 && encoding == 1) {
            for (qsizetype k = 0; k + 1 < len; k += 2)
                out.append(char(u16(name, at + k) < 0x80 ? u16(name, at + k) : '_'));
        } else if (platform == 1 && encoding == 0) {
            out = name.mid(at, len);
        }
    }
    if (out.isEmpty())
        out = (raw.familyName() + QLatin1Char('-') + raw.styleName()).toLatin1();
    QByteArray clean;
    for (char c : out)
        if (c > 32 && c < 127 && !std::strchr("()<>[]{}/%#", c))
            clean.append(c);
    return clean.isEmpty() ? QByteArray("Font") : clean;
}

// The face the painter would draw `font` with, or null when it cannot be embedded as it is drawn:
// no TrueType outlines (e.g. CFF), or a bold or italic the painter would synthesize from a
// regular face.
std::shared_ptr<const Face> loadFace(const QFont &font)
{
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid())
        return nullptr;
    auto f = std::make_shared<Face>();
    f->head = raw.fontTable("head");
    f->hhea = raw.fontTable("hhea");
    f->maxp = raw.fontTable("maxp");
    f->hmtx = raw.fontTable("hmtx");
    f->glyf = raw.fontTable("glyf");
    f->cvt = raw.fontTable("cvt ");
    f->fpgm = raw.fontTable("fpgm");
    f->prep = raw.fontTable("prep");
    f->os2 = raw.fontTable("OS/2");
    f->post = raw.fontTable("post");
    const QByteArray loca = raw.fontTable("loca"), cmap = raw.fontTable("cmap");
    if (f->head.size() < 54 || f->hhea.size() < 36 || f->maxp.size() < 6 || f->hmtx.isEmpty() ||
        f->glyf.isEmpty() || loca.isEmpty() || cmap.isEmpty())
        return nullptr;
    f->unitsPerEm = u16(f->head, 18);
    f->numGlyphs = u16(f->maxp, 4);
    const int hMetrics = u16(f->hhea, 34);
    const bool longLoca = s16(f->head, 50) == 1;
    if (f->unitsPerEm == 0 || f->numGlyphs == 0 || hMetrics == 0 || f->hmtx.size() < 4 * hMetrics ||
        loca.size() < (f->numGlyphs + 1) * (longLoca ? 4 : 2))
        return nullptr;

    f->glyphStart.resize(size_t(f->numGlyphs) + 1);
    const uint32_t glyfSize = uint32_t(f->glyf.size());
    for (int g = 0; g <= f->numGlyphs; ++g) {
        const uint32_t at = longLoca ? u32(loca, 4 * g) : 2u * u16(loca, 2 * g);
        f->glyphStart[size_t(g)] = std::min(at, glyfSize);
    }
    // A broken loca (offsets going backwards) makes the glyph empty rather than huge.
    for (int g = f->numGlyphs - 1; g >= 0; --g)
        f->glyphStart[size_t(g)] = std::min(f->glyphStart[size_t(g)], f->glyphStart[size_t(g) + 1]);
    f->advances.resize(size_t(f->numGlyphs));
    for (int g = 0; g < f->numGlyphs; ++g)
        f->advances[size_t(g)] = u16(f->hmtx, 4 * std::min(g, hMetrics - 1));
    if (!readCmap(cmap, *f))
        return nullptr;
    readKerning(raw.fontTable("kern"), *f);

    const int macStyle = u16(f->head, 44);
    const int weightClass = f->os2.size() >= 6 ? u16(f->os2, 4) : (macStyle & 1 ? 700 : 400);
    const int selection = f->os2.size() >= 64 ? u16(f->os2, 62) : 0;
    f->italicAngle = int32_t(u32(f->post, 4)) / 65536.0;
    const bool faceBold = (macStyle & 1) || (selection & 0x20) || weightClass >= 600;
    const bool faceItalic = (macStyle & 2) || (selection & 0x201) || f->italicAngle != 0;
    if ((font.weight() >= QFont::DemiBold && !faceBold) ||
        (font.style() != QFont::StyleNormal && !faceItalic))
        return nullptr;

    const double k = 1000.0 / f->unitsPerEm;
    f->bbox = {s16(f->head, 36) * k, s16(f->head, 38) * k, s16(f->head, 40) * k, s16(f->head, 42) * k};
    f->ascent = s16(f->hhea, 4) * k;
    f->descent = s16(f->hhea, 6) * k;
    f->capHeight = u16(f->os2, 0) >= 2 && f->os2.size() >= 90 ? s16(f->os2, 88) * k : f->ascent;
    f->stemV = 10 + 220 * (std::clamp(weightClass, 50, 950) - 50) / 900.0;
    f->flags = 4 | (u32(f->post, 12) ? 1 : 0) | (faceItalic ? 64 : 0);
    f->psName = postScriptName(raw.fontTable("name"), raw);
    return f;
}

// Faces are read once per process: the same fonts serve every report.
std::shared_ptr<const Face> faceFor(const QFont &font)
{
    QFont keyFont(font);
    keyFont.setPointSize(12); // one face for every size
    const QString key = keyFont.key();
    static std::mutex mutex;
    static QHash<QString, std::shared_ptr<const Face>> cache;
    std::lock_guard lock(mutex);
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, loadFace(font));
    return it.value();
}

// A subset of the face with the glyph ids kept: unused glyphs are empty, so the content streams'
// glyph ids need no mapping (/CIDToGIDMap /Identity).
QByteArray subsetFont(const Face &f, std::vector<uint8_t> used)
{
    used[0] = 1;
    std::vector<int> pending;
    for (int g = 0; g < f.numGlyphs; ++g)
        if (used[size_t(g)])
            pending.push_back(g);
    // Composite glyphs are drawn from their components: keep those too.
    while (!pending.empty()) {
        const int g = pending.back();
        pending.pop_back();
        const qsizetype start = f.glyphStart[size_t(g)], end = f.glyphStart[size_t(g) + 1];
        if (end - start < 10 || s16(f.glyf, start) >= 0)
            continue;
        for (qsizetype at = start + 10; at + 4 <= end;) {
            const uint16_t flags = u16(f.glyf, at), component = u16(f.glyf, at + 2);
            if (component < f.numGlyphs && !used[component]) {
                used[component] = 1;
                pending.push_back(component);
            }
            at += 4 + ((flags & 0x1) ? 4 : 2);
            at += (flags & 0x8) ? 2 : (flags & 0x40) ? 4 : (flags & 0x80) ? 8 : 0;
            if (!(flags & 0x20))
                break;
        }
    }

    QByteArray glyf, loca;
    loca.reserve((f.numGlyphs + 1) * 4);
    for (int g = 0; g < f.numGlyphs; ++g) {
        append32(loca, uint32_t(glyf.size()));
        if (used[size_t(g)]) {
            glyf.append(f.glyphData(g));
            while (glyf.size() % 4)
                glyf.append('\0');
        }
    }
    append32(loca, uint32_t(glyf.size()));
    QByteArray head = f.head.left(54);
    put32(head, 8, 0);  // checkSumAdjustment, set below
    put16(head, 50, 1); // long loca
    QByteArray post;
    if (f.post.size() >= 32) {
        post = f.post.left(32);
        put32(post, 0, 0x00030000); // no glyph names
    }

    struct Table
    {
        const char *tag;
        QByteArray data;
    };
    std::vector<Table> tables;
    auto add = [&](const char *tag, const QByteArray &data) {
        if (!data.isEmpty())
            tables.push_back({tag, data});
    };
    add("OS/2", f.os2);
    add("cvt ", f.cvt);
    add("fpgm", f.fpgm);
    add("glyf", glyf);
    add("head", head);
    add("hhea", f.hhea);
    add("hmtx", f.hmtx);
    add("loca", loca);
    add("maxp", f.maxp);
    add("post", post);
    add("prep", f.prep);
    std::sort(tables.begin(), tables.end(),
              [](const Table &a, const Table &b) { return std::memcmp(a.tag, b.tag, 4) < 0; });

    auto checksum = [](const QByteArray &d) {
        uint32_t sum = 0;
        for (qsizetype i = 0; i < d.size(); i += 4) {
            uint32_t word = 0;
            for (int k = 0; k < 4; ++k)
                word = word << 8 | (i + k < d.size() ? uchar(d[i + k]) : 0);
            sum += word;
        }
        return sum;
    };
    const int n = int(tables.size());
    int power = 1, log2 = 0;
    while (power * 2 <= n)
        power *= 2, ++log2;
    QByteArray out;
    append32(out, 0x00010000);
    append16(out, uint16_t(n));
    append16(out, uint16_t(power * 16));
    append16(out, uint16_t(log2));
    append16(out, uint16_t(n * 16 - power * 16));
    uint32_t offset = 12 + 16 * n;
    qsizetype headOffset = 0;
    for (const Table &t : tables) {
        out.append(t.tag, 4);
        append32(out, checksum(t.data));
        append32(out, offset);
        append32(out, uint32_t(t.data.size()));
        if (std::memcmp(t.tag, "head", 4) == 0)
            headOffset = offset;
        offset += uint32_t((t.data.size() + 3) & ~qsizetype(3));
    }
    for (const Table &t : tables) {
        out.append(t.data);
        while (out.size() % 4)
            out.append('\0');
    }
    put32(out, headOffset + 8, 0xB1B0AFBA - checksum(out));
    return out;
}

// --- writing PDF syntax ---

// Appends `v / 10^decimals` with no trailing zeros: coordinates go out in hundredths of a point.
void putFixed(std::string &s, long long v, int decimals)
{
    static constexpr long long kScale[] = {1, 10, 100, 1000, 10000};
    const bool negative = v < 0;
    unsigned long long u = negative ? 0ull - (unsigned long long)v : (unsigned long long)v;
    unsigned long long whole = u / kScale[decimals], frac = u % kScale[decimals];
    char buf[32];
    char *end = buf + sizeof buf, *p = end;
    if (frac) {
        int digits = decimals;
        while (frac % 10 == 0)
            frac /= 10, --digits;
        for (int i = 0; i < digits; ++i, frac /= 10)
            *--p = char('0' + frac % 10);
        *--p = '.';
    }
    do {
        *--p = char('0' + whole % 10);
        whole /= 10;
    } while (whole);
    if (negative)
        *--p = '-';
    s.append(p, size_t(end - p));
}
void putNumber(std::string &s, double v, int decimals = 2)
{
    static constexpr double kScale[] = {1, 10, 100, 1000, 10000};
    putFixed(s, std::llround(v * kScale[decimals]), decimals);
}
void putInt(std::string &s, long long v)
{
    putFixed(s, v, 0);
}

std::string hexUtf16(const QString &text)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string s = "<FEFF";
    for (QChar c : text) {
        const char16_t u = c.unicode();
        for (int shift = 12; shift >= 0; shift -= 4)
            s += digits[(u >> shift) & 0xF];
    }
    s += '>';
    return s;
}

class Deflater
{
public:
    Deflater() { ok = deflateInit(&z, Z_BEST_SPEED) == Z_OK; }
    ~Deflater()
    {
        if (ok)
            deflateEnd(&z);
    }
    Deflater(const Deflater &) = delete;
    Deflater &operator=(const Deflater &) = delete;

    bool compress(const char *data, size_t size, std::string &out)
    {
        if (!ok || deflateReset(&z) != Z_OK)
            return false;
        out.resize(deflateBound(&z, uLong(size)));
        z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data));
        z.avail_in = uInt(size);
        z.next_out = reinterpret_cast<Bytef *>(out.data());
        z.avail_out = uInt(out.size());
        const bool done = deflate(&z, Z_FINISH) == Z_STREAM_END;
        out.resize(done ? size_t(z.total_out) : 0);
        return done;
    }

private:
    z_stream z{};
    bool ok = false;
};

// What the pages used, gathered per worker and merged: the glyphs of each face and the
// transparency levels that need a graphics state.
struct Usage
{
    std::vector<std::vector<uint8_t>> glyphs; // per face
    std::array<bool, 256> fillAlpha{}, strokeAlpha{};
    bool missingGlyph = false; // a character its face does not hold

    void merge(const Usage &other)
    {
        missingGlyph = missingGlyph || other.missingGlyph;
        for (size_t f = 0; f < glyphs.size(); ++f)
            for (size_t g = 0; g < glyphs[f].size(); ++g)
                glyphs[f][g] |= other.glyphs[f][g];
        for (size_t a = 0; a < 256; ++a) {
            fillAlpha[a] = fillAlpha[a] || other.fillAlpha[a];
            strokeAlpha[a] = strokeAlpha[a] || other.strokeAlpha[a];
        }
    }
};

struct Fonts
{
    std::vector<const Face *> faces; // distinct faces, resource /F<index>
    std::vector<int> faceOf;         // document font -> face
    std::vector<long long> sizeOf;   // document font -> size, hundredths of a point
    std::vector<std::shared_ptr<const Face>> keep;
};

// The content stream of one page. Mirrors Document::paintPage: rectangles, then texts, then
// lines, with the graphics state tracked so that each operator is written only when it changes.
class PageContent
{
public:
    PageContent(const Fonts &fonts, double pageHeightMm, Usage &usage, std::string &out)
        : fonts(fonts)
        , heightMm(pageHeightMm)
        , usage(usage)
        , s(out)
    {}

    void write(const Page &page)
    {
        s += "2 M\n"; // the painter's miter limit
        for (const RectItem &r : page.rects)
            rect(r);
        for (const TextItem &t : page.texts) {
            if (t.runs.empty()) {
                if (t.text.isEmpty())
                    continue;
                if (t.clipped) {
                    // Cut at the box, as the painter's clip rectangle does.
                    endText();
                    s += "q ";
                    box(t.rect);
                    s += " re W n\n";
                    const State saved = st;
                    text(t.font, t.color, t.origin, t.text);
                    endText();
                    s += "Q\n";
                    st = saved;
                } else {
                    text(t.font, t.color, t.origin, t.text);
                }
            } else {
                for (const TextRun &run : t.runs)
                    if (!run.text.isEmpty())
                        text(t.font, t.color, run.origin, run.text);
            }
        }
        endText();
        for (const LineItem &l : page.lines)
            line(l);
    }

private:
    struct State
    {
        long long fill = -1, stroke = -1; // RGB, -1: not set yet
        int fillAlpha = 255, strokeAlpha = 255;
        long long width = -1; // hundredths of a point
        int cap = -1, join = -1;
        std::string dash = "[] 0";
        int face = -1;
        long long size = -1;
    };

    long long x(double mm) const { return std::llround(mm * kPtPerMm * 100); }
    long long y(double mm) const { return std::llround((heightMm - mm) * kPtPerMm * 100); }
    void point(const QPointF &p)
    {
        putFixed(s, x(p.x()), 2);
        s += ' ';
        putFixed(s, y(p.y()), 2);
    }
    void box(const QRectF &r)
    {
        putFixed(s, x(r.left()), 2);
        s += ' ';
        putFixed(s, y(r.top() + r.height()), 2);
        s += ' ';
        putFixed(s, std::llround(r.width() * kPtPerMm * 100), 2);
        s += ' ';
        putFixed(s, std::llround(r.height() * kPtPerMm * 100), 2);
    }

    void color(QRgb c, bool stroking)
    {
        long long &current = stroking ? st.stroke : st.fill;
        const long long rgb = c & 0xffffff;
        if (current != rgb) {
            current = rgb;
            const int r = qRed(c), g = qGreen(c), b = qBlue(c);
            if (r == g && g == b) {
                putNumber(s, r / 255.0, 4);
                s += stroking ? " G\n" : " g\n";
            } else {
                putNumber(s, r / 255.0, 4);
                s += ' ';
                putNumber(s, g / 255.0, 4);
                s += ' ';
                putNumber(s, b / 255.0, 4);
                s += stroking ? " RG\n" : " rg\n";
            }
        }
        int &alpha = stroking ? st.strokeAlpha : st.fillAlpha;
        if (alpha != qAlpha(c)) {
            alpha = qAlpha(c);
            (stroking ? usage.strokeAlpha : usage.fillAlpha)[size_t(alpha)] = true;
            static const char digits[] = "0123456789ABCDEF";
            s += stroking ? "/GA" : "/Ga";
            s += digits[alpha >> 4];
            s += digits[alpha & 15];
            s += " gs\n";
        }
    }
    void pen(double widthMm, int cap, int join, const std::string &dash)
    {
        const long long w = std::llround(widthMm * kPtPerMm * 100);
        if (w != st.width) {
            st.width = w;
            putFixed(s, w, 2);
            s += " w\n";
        }
        if (cap != st.cap) {
            st.cap = cap;
            putInt(s, cap);
            s += " J\n";
        }
        if (join != st.join) {
            st.join = join;
            putInt(s, join);
            s += " j\n";
        }
        if (dash != st.dash) {
            st.dash = dash;
            s += dash;
            s += " d\n";
        }
    }

    void rect(const RectItem &r)
    {
        const bool stroke = r.lineWidth > 0 && qAlpha(r.color) > 0;
        const bool fill = r.filled && qAlpha(r.fill) > 0;
        if (!stroke && !fill)
            return;
        if (fill)
            color(r.fill, false);
        if (stroke) {
            color(r.color, true);
            pen(r.lineWidth, 2, 0, "[] 0"); // square cap, miter join
        }
        box(r.rect);
        s += fill && stroke ? " re B\n" : fill ? " re f\n" : " re S\n";
    }

    void line(const LineItem &l)
    {
        if (l.style == Qt::NoPen || qAlpha(l.color) == 0)
            return;
        color(l.color, true);
        // The painter's dash patterns, in units of the pen width (a hairline counts as one
        // device dot of the painter's PDF).
        const double unit = l.width > 0 ? l.width * kPtPerMm : 72.0 / 1200;
        static const std::vector<double> dash = {4, 2}, dot = {1, 2}, dashDot = {4, 2, 1, 2},
                                         dashDotDot = {4, 2, 1, 2, 1, 2};
        const std::vector<double> *pattern = l.style == Qt::DashLine         ? &dash
                                             : l.style == Qt::DotLine        ? &dot
                                             : l.style == Qt::DashDotLine    ? &dashDot
                                             : l.style == Qt::DashDotDotLine ? &dashDotDot
                                                                             : nullptr;
        std::string d = "[";
        if (pattern)
            for (size_t i = 0; i < pattern->size(); ++i) {
                if (i)
                    d += ' ';
                putNumber(d, (*pattern)[i] * unit, 3);
            }
        d += "] 0";
        pen(std::max(0.0, l.width), 0, 2, d); // flat cap, bevel join
        point(l.p1);
        s += " m ";
        point(l.p2);
        s += " l S\n";
    }

    void endText()
    {
        if (inText)
            s += "ET\n";
        inText = false;
    }

    void text(int font, QRgb c, const QPointF &origin, const QString &t)
    {
        color(c, false);
        if (!inText) {
            s += "BT\n";
            inText = true;
            lineX = lineY = 0;
        }
        const int face = fonts.faceOf[size_t(font)];
        const long long size = fonts.sizeOf[size_t(font)];
        if (face != st.face || size != st.size) {
            st.face = face;
            st.size = size;
            s += "/F";
            putInt(s, face);
            s += ' ';
            putFixed(s, size, 2);
            s += " Tf\n";
        }
        const long long px = x(origin.x()), py = y(origin.y());
        putFixed(s, px - lineX, 2);
        s += ' ';
        putFixed(s, py - lineY, 2);
        s += " Td ";
        lineX = px;
        lineY = py;

        const Face &f = *fonts.faces[size_t(face)];
        std::vector<uint8_t> &used = usage.glyphs[size_t(face)];
        // constData, not utf16: that one may reallocate a static string in place.
        const auto *p = reinterpret_cast<const char16_t *>(t.constData());
        const qsizetype n = t.size();
        glyphs.clear();
        for (qsizetype i = 0; i < n; ++i) {
            char32_t ch = p[i];
            if (QChar::isHighSurrogate(ch) && i + 1 < n && QChar::isLowSurrogate(p[i + 1]))
                ch = QChar::surrogateToUcs4(char16_t(ch), p[++i]);
            if (ch < 0x20)
                ch = 0x20; // control characters show as the painter shows them: blank
            const uint16_t g = f.glyph(ch);
            if (g == 0)
                usage.missingGlyph = true;
            used[g] = 1;
            glyphs.push_back(g);
        }
        kerns.assign(glyphs.size(), 0);
        bool kerned = false;
        if (!f.kernFrom.empty())
            for (size_t i = 0; i + 1 < glyphs.size(); ++i)
                if ((kerns[i] = f.kerning(glyphs[i], glyphs[i + 1])) != 0)
                    kerned = true;

        static const char digits[] = "0123456789ABCDEF";
        s += kerned ? "[<" : "<";
        for (size_t i = 0; i < glyphs.size(); ++i) {
            const uint16_t g = glyphs[i];
            const char hex[4] = {digits[g >> 12], digits[(g >> 8) & 15], digits[(g >> 4) & 15],
                                 digits[g & 15]};
            s.append(hex, 4);
            if (kerns[i] != 0 && i + 1 < glyphs.size()) {
                // TJ moves left by a positive number, in thousandths of the size.
                s += "> ";
                putNumber(s, -kerns[i] * 1000.0 / f.unitsPerEm, 2);
                s += " <";
            }
        }
        s += kerned ? ">] TJ\n" : "> Tj\n";
    }

    const Fonts &fonts;
    const double heightMm;
    Usage &usage;
    std::string &s;
    State st;
    std::vector<uint16_t> glyphs; // of the run being written
    std::vector<int> kerns;       // after each glyph, font units
    bool inText = false;
    long long lineX = 0, lineY = 0;
};

// The PDF file: objects written in any order, their offsets kept for the cross-reference table.
class PdfFile
{
public:
    explicit PdfFile(QFile &file)
        : file(file)
    {}
    void reserveObjects(int count) { offsets.assign(size_t(count) + 1, 0); }
    void put(const std::string &s) { put(s.data(), s.size()); }
    void put(const char *data, size_t size)
    {
        buffer.append(data, size);
        position += qint64(size);
        if (buffer.size() >= (1 << 20))
            flush();
    }
    void object(int number, const std::string &body)
    {
        begin(number);
        put(body);
        put("\nendobj\n", 8);
    }
    void stream(int number, const std::string &dict, const std::string &compressed)
    {
        begin(number);
        std::string head = "<< /Length ";
        putInt(head, static_cast<long long>(compressed.size()));
        head += " /Filter /FlateDecode";
        head += dict;
        head += " >>\nstream\n";
        put(head);
        put(compressed);
        put("\nendstream\nendobj\n", 18);
    }
    bool finish(int root, int info, const QByteArray &id)
    {
        const qint64 xref = position;
        std::string s = "xref\n0 ";
        putInt(s, static_cast<long long>(offsets.size()));
        s += "\n0000000000 65535 f \n";
        char line[32];
        for (size_t i = 1; i < offsets.size(); ++i) {
            std::snprintf(line, sizeof line, "%010lld 00000 n \n", static_cast<long long>(offsets[i]));
            s += line;
        }
        s += "trailer\n<< /Size ";
        putInt(s, static_cast<long long>(offsets.size()));
        s += " /Root ";
        putInt(s, root);
        s += " 0 R /Info ";
        putInt(s, info);
        s += " 0 R /ID [<" + id.toHex().toStdString() + "> <" + id.toHex().toStdString() +
             ">] >>\nstartxref\n";
        putInt(s, xref);
        s += "\n%%EOF\n";
        put(s);
        return flush();
    }
    bool flush()
    {
        if (!buffer.isEmpty() && file.write(buffer) != buffer.size())
            failed = true;
        buffer.clear();
        return !failed;
    }

private:
    void begin(int number)
    {
        offsets[size_t(number)] = position;
        std::string s;
        putInt(s, number);
        s += " 0 obj\n";
        put(s);
    }
    QFile &file;
    QByteArray buffer;
    qint64 position = 0;
    std::vector<qint64> offsets;
    bool failed = false;
};

// A six-letter subset tag that changes with the glyphs the subset holds.
std::string subsetTag(const std::vector<uint8_t> &used, int face)
{
    uint32_t h = 2166136261u ^ uint32_t(face);
    for (size_t g = 0; g < used.size(); ++g)
        if (used[g])
            h = (h ^ uint32_t(g)) * 16777619u;
    std::string tag;
    for (int i = 0; i < 6; ++i, h /= 26)
        tag += char('A' + h % 26);
    return tag + '+';
}

std::string toUnicodeCMap(const Face &f, const std::vector<uint8_t> &used)
{
    // Each glyph maps back to the lowest code point the font draws it for (U+0020 rather than
    // U+00A0 for the space).
    std::vector<char32_t> uni(size_t(f.numGlyphs), 0);
    for (char32_t c = 0x20; c < 0x10000; ++c) {
        const uint16_t g = f.bmp[c];
        if (g && used[g] && !uni[g])
            uni[g] = c;
    }
    for (const Face::Group &grp : f.astral)
        for (uint32_t c = grp.first; c <= grp.last && grp.glyph + (c - grp.first) < uint32_t(f.numGlyphs);
             ++c) {
            const uint32_t g = grp.glyph + (c - grp.first);
            if (used[g] && !uni[g])
                uni[g] = c;
        }
    std::vector<std::pair<uint16_t, char32_t>> map;
    for (int g = 1; g < f.numGlyphs; ++g)
        if (uni[size_t(g)])
            map.emplace_back(uint16_t(g), uni[size_t(g)]);

    std::string s = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                    "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                    "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                    "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    char buf[48];
    for (size_t i = 0; i < map.size(); i += 100) {
        const size_t n = std::min<size_t>(100, map.size() - i);
        putInt(s, static_cast<long long>(n));
        s += " beginbfchar\n";
        for (size_t k = i; k < i + n; ++k) {
            const char32_t c = map[k].second;
            if (c < 0x10000)
                std::snprintf(buf, sizeof buf, "<%04X> <%04X>\n", map[k].first, unsigned(c));
            else
                std::snprintf(buf, sizeof buf, "<%04X> <%04X%04X>\n", map[k].first,
                              unsigned(0xD800 + ((c - 0x10000) >> 10)),
                              unsigned(0xDC00 + ((c - 0x10000) & 0x3FF)));
            s += buf;
        }
        s += "endbfchar\n";
    }
    s += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return s;
}

// The five objects of one embedded face, numbered from `base`.
bool writeFont(PdfFile &pdf, Deflater &deflater, const Face &f, const std::vector<uint8_t> &used, int face,
               int base)
{
    const std::string name = "/" + subsetTag(used, face) + f.psName.toStdString();
    std::string s =
        "<< /Type /Font /Subtype /Type0 /BaseFont " + name + " /Encoding /Identity-H /DescendantFonts [";
    putInt(s, base + 1);
    s += " 0 R] /ToUnicode ";
    putInt(s, base + 4);
    s += " 0 R >>";
    pdf.object(base, s);

    s = "<< /Type /Font /Subtype /CIDFontType2 /BaseFont " + name +
        " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> /FontDescriptor ";
    putInt(s, base + 2);
    s += " 0 R /CIDToGIDMap /Identity /W [";
    for (int g = 0; g < f.numGlyphs;) {
        if (!used[size_t(g)]) {
            ++g;
            continue;
        }
        putInt(s, g);
        s += " [";
        for (bool first = true; g < f.numGlyphs && used[size_t(g)]; ++g, first = false) {
            if (!first)
                s += ' ';
            putNumber(s, f.width(uint16_t(g)), 2);
        }
        s += "] ";
    }
    s += "] >>";
    pdf.object(base + 1, s);

    s = "<< /Type /FontDescriptor /FontName " + name + " /Flags ";
    putInt(s, f.flags);
    s += " /FontBBox [";
    for (int i = 0; i < 4; ++i) {
        putNumber(s, f.bbox[size_t(i)], 0);
        s += i < 3 ? " " : "]";
    }
    s += " /ItalicAngle ";
    putNumber(s, f.italicAngle, 2);
    s += " /Ascent ";
    putNumber(s, f.ascent, 0);
    s += " /Descent ";
    putNumber(s, f.descent, 0);
    s += " /CapHeight ";
    putNumber(s, f.capHeight, 0);
    s += " /StemV ";
    putNumber(s, f.stemV, 0);
    s += " /FontFile2 ";
    putInt(s, base + 3);
    s += " 0 R >>";
    pdf.object(base + 2, s);

    const QByteArray file = subsetFont(f, used);
    std::string packed;
    if (!deflater.compress(file.constData(), size_t(file.size()), packed))
        return false;
    std::string dict = " /Length1 ";
    putInt(dict, file.size());
    pdf.stream(base + 3, dict, packed);

    const std::string cmap = toUnicodeCMap(f, used);
    if (!deflater.compress(cmap.data(), cmap.size(), packed))
        return false;
    pdf.stream(base + 4, std::string(), packed);
    return true;
}

std::string pdfDate(const QDateTime &when)
{
    std::string s = "(D:" + when.toString(QStringLiteral("yyyyMMddHHmmss")).toStdString();
    const int offset = when.offsetFromUtc() / 60;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%c%02d'%02d')", offset < 0 ? '-' : '+', std::abs(offset) / 60,
                  std::abs(offset) % 60);
    return s + buf;
}

} // namespace

DirectPdfResult writeDirectPdf(const Document &document, const QString &path)
{
    // Fonts first: a document whose texts cannot be embedded as painted is left to the painter.
    Fonts fonts;
    {
        std::vector<uint8_t> needed(document.fonts.size(), 0);
        for (const Page &page : document.pages)
            for (const TextItem &t : page.texts) {
                if (t.font < 0 || t.font >= int(document.fonts.size()))
                    return DirectPdfResult::FontNotEmbeddable;
                needed[size_t(t.font)] = 1;
            }
        QHash<const Face *, int> index;
        for (size_t i = 0; i < document.fonts.size(); ++i) {
            const QFont &font = document.fonts[i];
            std::shared_ptr<const Face> face = needed[i] ? faceFor(font) : nullptr;
            if (needed[i] && !face)
                return DirectPdfResult::FontNotEmbeddable;
            int faceIndex = -1;
            if (face) {
                auto it = index.find(face.get());
                if (it == index.end()) {
                    it = index.insert(face.get(), int(fonts.faces.size()));
                    fonts.faces.push_back(face.get());
                    fonts.keep.push_back(face);
                }
                faceIndex = it.value();
            }
            fonts.faceOf.push_back(faceIndex);
            const double size = font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
            fonts.sizeOf.push_back(std::llround(size * 100));
        }
    }

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return DirectPdfResult::CannotWrite;

    const QSizeF sizeMm = document.pageSizeMm();
    std::vector<Page> blank;
    const std::vector<Page> *pages = &document.pages;
    if (pages->empty()) {
        blank.emplace_back();
        pages = &blank;
    }
    const int pageCount = int(pages->size());

    // Pages are independent: build and compress them on every core, write them in order after.
    std::vector<std::string> contents(static_cast<size_t>(pageCount));
    const int workers =
        pageCount < 16 ? 1
                       : std::clamp(int(std::thread::hardware_concurrency()), 1, std::min(4, pageCount / 8));
    std::vector<Usage> usages(static_cast<size_t>(workers));
    for (Usage &u : usages) {
        u.glyphs.resize(fonts.faces.size());
        for (size_t f = 0; f < fonts.faces.size(); ++f)
            u.glyphs[f].assign(size_t(fonts.faces[f]->numGlyphs), 0);
    }
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    auto work = [&](Usage &usage) {
        Deflater deflater;
        std::string raw;
        for (int i = next++; i < pageCount; i = next++) {
            raw.clear();
            PageContent(fonts, sizeMm.height(), usage, raw).write((*pages)[size_t(i)]);
            if (!deflater.compress(raw.data(), raw.size(), contents[size_t(i)]))
                failed = true;
        }
    };
    {
        std::vector<std::thread> threads;
        for (int w = 1; w < workers; ++w)
            threads.emplace_back(work, std::ref(usages[size_t(w)]));
        work(usages[0]);
        for (std::thread &t : threads)
            t.join();
    }
    if (failed)
        return DirectPdfResult::CannotWrite;
    Usage &usage = usages[0];
    for (int w = 1; w < workers; ++w)
        usage.merge(usages[size_t(w)]);
    if (usage.missingGlyph) {
        // The preview draws such a character from a fallback font; the record must show it too.
        file.close();
        file.remove();
        return DirectPdfResult::NeedsFallback;
    }

    // Objects: 1 catalog, 2 page tree, 3 info, 4 shared resources, then a page and its content
    // for each page, then five for each face the pages use.
    constexpr int kCatalog = 1, kPages = 2, kInfo = 3, kResources = 4, kFirstPage = 5;
    std::vector<int> fontBase(fonts.faces.size(), 0);
    int objects = kFirstPage + 2 * pageCount;
    for (size_t f = 0; f < fonts.faces.size(); ++f)
        if (std::find(usage.glyphs[f].begin(), usage.glyphs[f].end(), uint8_t(1)) != usage.glyphs[f].end()) {
            fontBase[f] = objects;
            objects += 5;
        }

    PdfFile pdf(file);
    pdf.reserveObjects(objects - 1);
    pdf.put("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n", 15);
    std::string box = " /MediaBox [0 0 ";
    putNumber(box, sizeMm.width() * kPtPerMm, 2);
    box += ' ';
    putNumber(box, sizeMm.height() * kPtPerMm, 2);
    box += "] /Resources ";
    putInt(box, kResources);
    box += " 0 R /Contents ";
    for (int i = 0; i < pageCount; ++i) {
        const int number = kFirstPage + 2 * i;
        std::string s = "<< /Type /Page /Parent ";
        putInt(s, kPages);
        s += " 0 R";
        s += box;
        putInt(s, number + 1);
        s += " 0 R >>";
        pdf.object(number, s);
        pdf.stream(number + 1, std::string(), contents[size_t(i)]);
        std::string().swap(contents[size_t(i)]);
    }

    Deflater deflater;
    for (size_t f = 0; f < fonts.faces.size(); ++f)
        if (fontBase[f] && !writeFont(pdf, deflater, *fonts.faces[f], usage.glyphs[f], int(f), fontBase[f]))
            return DirectPdfResult::CannotWrite;

    std::string s = "<< /ProcSet [/PDF /Text] /Font <<";
    for (size_t f = 0; f < fonts.faces.size(); ++f)
        if (fontBase[f]) {
            s += " /F";
            putInt(s, static_cast<long long>(f));
            s += ' ';
            putInt(s, fontBase[f]);
            s += " 0 R";
        }
    s += " >> /ExtGState <<";
    static const char digits[] = "0123456789ABCDEF";
    for (int a = 0; a < 256; ++a)
        for (bool stroking : {false, true})
            if ((stroking ? usage.strokeAlpha : usage.fillAlpha)[size_t(a)]) {
                s += stroking ? " /GA" : " /Ga";
                s += digits[a >> 4];
                s += digits[a & 15];
                s += stroking ? " << /CA " : " << /ca ";
                putNumber(s, a / 255.0, 4);
                s += " >>";
            }
    s += " >> >>";
    pdf.object(kResources, s);

    s = "<< /Type /Pages /Count ";
    putInt(s, pageCount);
    s += " /Kids [";
    for (int i = 0; i < pageCount; ++i) {
        putInt(s, kFirstPage + 2 * i);
        s += i + 1 < pageCount ? " 0 R " : " 0 R";
    }
    s += "] >>";
    pdf.object(kPages, s);
    s = "<< /Type /Catalog /Pages ";
    putInt(s, kPages);
    s += " 0 R >>";
    pdf.object(kCatalog, s);

    const QDateTime now = QDateTime::currentDateTime();
    const std::string date = pdfDate(now);
    pdf.object(kInfo, "<< /Title " + hexUtf16(document.title) +
                          " /Creator (Zelvana) /Producer (Zelvana) /CreationDate " + date + " >>");
    QCryptographicHash id(QCryptographicHash::Md5);
    id.addData(path.toUtf8());
    id.addData(QByteArray::fromStdString(date));
    id.addData(document.title.toUtf8());
    if (!pdf.finish(kCatalog, kInfo, id.result()))
        return DirectPdfResult::CannotWrite;
    file.close();
    return file.error() == QFileDevice::NoError ? DirectPdfResult::Written : DirectPdfResult::CannotWrite;
}

} // namespace report
