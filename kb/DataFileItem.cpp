#include "kb/DataFileItem.h"

#include "kb/Utilities.h"
#include "kb/WholeNumber.h"

#include <bit>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kb {

namespace {

constexpr std::string_view kDescriptionKey = "RecordDescription=";
constexpr std::string_view kQuestionKey = "Question ";
constexpr auto npos = std::string_view::npos;

// Where the marks that decide an item's meaning first stand; 'R' is where the description
// key may begin.
struct Marks {
    std::size_t Open = npos;
    std::size_t Close = npos;
    std::size_t Equals = npos;
    std::size_t R = npos;

    void Note(std::size_t& mark, unsigned hits, std::size_t at) {
        if (mark == npos && hits != 0) {
            mark = at + static_cast<std::size_t>(std::countr_zero(hits));
        }
    }
};

// One pass over the item finds all four: data files hold millions of items, and four
// library searches cost several times one pass.
Marks FindMarks(std::string_view item) {
    Marks marks;
    std::size_t p = 0;
#if defined(__SSE2__)
    const __m128i open = _mm_set1_epi8('[');
    const __m128i close = _mm_set1_epi8(']');
    const __m128i equals = _mm_set1_epi8('=');
    const __m128i r = _mm_set1_epi8('R');
    const auto hits = [](__m128i eq) { return static_cast<unsigned>(_mm_movemask_epi8(eq)); };
    const auto block = [&](std::size_t at, unsigned keep) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(item.data() + at));
        const __m128i o = _mm_cmpeq_epi8(v, open);
        const __m128i c = _mm_cmpeq_epi8(v, close);
        const __m128i e = _mm_cmpeq_epi8(v, equals);
        const __m128i k = _mm_cmpeq_epi8(v, r);
        // Most blocks hold none of them.
        if ((hits(_mm_or_si128(_mm_or_si128(o, c), _mm_or_si128(e, k))) & keep) == 0) {
            return;
        }
        marks.Note(marks.Open, hits(o) & keep, at);
        marks.Note(marks.Close, hits(c) & keep, at);
        marks.Note(marks.Equals, hits(e) & keep, at);
        marks.Note(marks.R, hits(k) & keep, at);
    };
    for (; p + 16 <= item.size(); p += 16) {
        block(p, 0xFFFFu);
    }
    if (p < item.size() && item.size() >= 16) {
        // The rest in one last block that ends with the item, less what was seen before.
        const std::size_t at = item.size() - 16;
        block(at, 0xFFFFu & ~((1u << (p - at)) - 1u));
        p = item.size();
    }
#endif
    for (; p < item.size(); ++p) {
        switch (item[p]) {
        case '[':
            marks.Open = marks.Open == npos ? p : marks.Open;
            break;
        case ']':
            marks.Close = marks.Close == npos ? p : marks.Close;
            break;
        case '=':
            marks.Equals = marks.Equals == npos ? p : marks.Equals;
            break;
        case 'R':
            marks.R = marks.R == npos ? p : marks.R;
            break;
        default:
            break;
        }
    }
    return marks;
}

// A question's number: plain digits, as the acquisition program writes them, the short way.
bool ToNumber(std::string_view text, std::int16_t& number) {
    if (text.empty() || text.size() > 4) {
        return ToWholeNumber(text, number);
    }
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return ToWholeNumber(text, number);
        }
        value = value * 10 + (c - '0');
    }
    number = static_cast<std::int16_t>(value);
    return true;
}

} // namespace

DataFileItem ClassifyDataFileItem(std::string_view item) {
    DataFileItem result;
    const Marks marks = FindMarks(item);
    if (marks.Open != npos && marks.Close != npos) {
        if (marks.Close < marks.Open) {
            result.Type = DataFileItem::Kind::BrokenHeader;
            return result;
        }
        result.Type = DataFileItem::Kind::Header;
        result.Text = item.substr(marks.Open + 1, marks.Close - marks.Open - 1);
        result.DropsText = marks.Open != 0 || !AllBlanks(item.substr(marks.Close + 1));
        return result;
    }
    if (marks.R != npos && item.find(kDescriptionKey, marks.R) != npos) {
        result.Type = DataFileItem::Kind::Description;
        result.Text = item.substr(marks.Equals + 1);
        result.DropsText = !item.starts_with(kDescriptionKey);
        return result;
    }
    const auto key = item.starts_with(kQuestionKey) ? 0 : item.find(kQuestionKey);
    if (key != npos) {
        result.Type = DataFileItem::Kind::Question;
        result.NumberAt = key + kQuestionKey.size();
        result.EqualsAt = marks.Equals;
        result.DropsText = key != 0;
        if (marks.Equals != npos && marks.Equals >= result.NumberAt &&
            ToNumber(item.substr(result.NumberAt, marks.Equals - result.NumberAt), result.Number)) {
            result.HasNumber = true;
            result.Text = item.substr(marks.Equals + 1);
        }
        return result;
    }
    if (marks.Open != npos || marks.Close != npos) {
        result.Type = DataFileItem::Kind::HalfHeader;
    }
    return result;
}

} // namespace kb
