#include <algorithm>
#include <cmath>

#include "net/exchange_rates.h"
#include "text/number_text.h"

namespace velmora {
namespace {

constexpr std::string_view kWhitespace = " \t\r\n";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(kWhitespace);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kWhitespace) - first + 1);
}

// One start, end or empty-element tag: its name and the text of its attributes.
struct Tag {
  std::string_view name;
  std::string_view attributes;
  bool closing = false;
  bool self_closing = false;
};

// Walks the tags of an XML text, skipping declarations, comments and character data. A tag that
// does not end, or has no name, makes the text broken.
class TagScanner {
 public:
  explicit TagScanner(std::string_view text) : text_(text) {}

  std::optional<Tag> Next() {
    while (true) {
      const auto open = text_.find('<', position_);
      if (open == std::string_view::npos) return std::nullopt;
      const std::string_view rest = text_.substr(open);
      if (rest.starts_with("<!--")) {
        if (!SkipPast(open, "-->")) return std::nullopt;
      } else if (rest.starts_with("<![CDATA[")) {
        if (!SkipPast(open, "]]>")) return std::nullopt;
      } else if (rest.starts_with("<?")) {
        if (!SkipPast(open, "?>")) return std::nullopt;
      } else if (rest.starts_with("<!")) {
        if (!SkipPast(open, ">")) return std::nullopt;
      } else {
        return ReadTag(open);
      }
    }
  }

  bool broken() const { return broken_; }

 private:
  bool SkipPast(std::size_t from, std::string_view end) {
    const auto found = text_.find(end, from + 2);
    if (found == std::string_view::npos) {
      broken_ = true;
      return false;
    }
    position_ = found + end.size();
    return true;
  }

  std::optional<Tag> ReadTag(std::size_t open) {
    // A ">" inside a quoted attribute value does not end the tag.
    char quote = 0;
    std::size_t end = open + 1;
    for (; end < text_.size(); ++end) {
      const char c = text_[end];
      if (quote != 0) {
        if (c == quote) quote = 0;
      } else if (c == '\'' || c == '"') {
        quote = c;
      } else if (c == '>') {
        break;
      }
    }
    if (end >= text_.size()) {
      broken_ = true;
      return std::nullopt;
    }
    position_ = end + 1;
    std::string_view inside = text_.substr(open + 1, end - open - 1);
    Tag tag;
    if (!inside.empty() && inside.front() == '/') {
      tag.closing = true;
      inside.remove_prefix(1);
    }
    if (!inside.empty() && inside.back() == '/') {
      tag.self_closing = true;
      inside.remove_suffix(1);
    }
    const auto name_end = inside.find_first_of(kWhitespace);
    tag.name = inside.substr(0, name_end);
    tag.attributes =
        name_end == std::string_view::npos ? std::string_view{} : inside.substr(name_end);
    if (tag.name.empty() || (tag.closing && tag.self_closing)) {
      broken_ = true;
      return std::nullopt;
    }
    return tag;
  }

  std::string_view text_;
  std::size_t position_ = 0;
  bool broken_ = false;
};

// The name without a namespace prefix.
std::string_view LocalName(std::string_view name) {
  const auto colon = name.rfind(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

struct Attributes {
  std::optional<std::string_view> time;
  std::optional<std::string_view> currency;
  std::optional<std::string_view> rate;
};

// The attributes this format uses; nothing when the attribute text is not name="value" pairs
// or names one of them twice.
std::optional<Attributes> ReadAttributes(std::string_view text) {
  Attributes found;
  while (true) {
    text = Trim(text);
    if (text.empty()) return found;
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    const std::string_view name = Trim(text.substr(0, equals));
    if (name.empty() || name.find_first_of(kWhitespace) != std::string_view::npos) {
      return std::nullopt;
    }
    text = Trim(text.substr(equals + 1));
    if (text.empty() || (text.front() != '\'' && text.front() != '"')) return std::nullopt;
    const auto close = text.find(text.front(), 1);
    if (close == std::string_view::npos) return std::nullopt;
    const std::string_view value = text.substr(1, close - 1);
    text.remove_prefix(close + 1);
    std::optional<std::string_view>* slot = nullptr;
    if (name == "time") slot = &found.time;
    if (name == "currency") slot = &found.currency;
    if (name == "rate") slot = &found.rate;
    if (slot == nullptr) continue;
    if (slot->has_value()) return std::nullopt;
    *slot = value;
  }
}

RatesParse Problem(RatesProblem problem) {
  return {std::nullopt, problem};
}

}  // namespace

bool IsRatesDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  for (const std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u}) {
    if (!IsDigit(text[i])) return false;
  }
  const auto number = [text](std::size_t at, std::size_t length) {
    int value = 0;
    for (std::size_t i = at; i < at + length; ++i) value = value * 10 + (text[i] - '0');
    return value;
  };
  const int year = number(0, 4);
  const int month = number(5, 2);
  const int day = number(8, 2);
  if (year < 1 || month < 1 || month > 12 || day < 1) return false;
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

bool IsCurrencyCode(std::string_view code) {
  return code.size() == 3 &&
         std::all_of(code.begin(), code.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

std::optional<double> ParseRate(std::string_view text) {
  text = Trim(text);
  std::size_t i = 0;
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t exponent_start = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i == exponent_start) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  const double rate = TextToNumber(text);
  if (!std::isfinite(rate) || !(rate > 0)) return std::nullopt;
  return rate;
}

RatesParse ParseRates(std::string_view body) {
  if (body.starts_with(kByteOrderMark)) body.remove_prefix(kByteOrderMark.size());
  body = Trim(body);
  if (body.empty() || body.front() != '<') return Problem(RatesProblem::kNotRatesFile);

  TagScanner scanner(body);
  ExchangeRates result;
  int depth = 0;  // open elements inside the dated Cube, the Cube itself counted
  while (const std::optional<Tag> tag = scanner.Next()) {
    const bool cube = LocalName(tag->name) == "Cube";
    if (depth == 0) {
      if (!cube || tag->closing) continue;
      const std::optional<Attributes> attributes = ReadAttributes(tag->attributes);
      if (!attributes) return Problem(RatesProblem::kNotRatesFile);
      if (!attributes->time) continue;
      if (!IsRatesDate(*attributes->time) || tag->self_closing) {
        return Problem(RatesProblem::kNotRatesFile);
      }
      result.date = std::string(*attributes->time);
      depth = 1;
      continue;
    }
    if (tag->closing) {
      if (--depth == 0) break;
      continue;
    }
    if (!tag->self_closing) ++depth;
    if (!cube) continue;
    const std::optional<Attributes> attributes = ReadAttributes(tag->attributes);
    if (!attributes) return Problem(RatesProblem::kNotRatesFile);
    if (!attributes->currency && !attributes->rate) continue;
    if (!attributes->currency || !IsCurrencyCode(*attributes->currency) ||
        *attributes->currency == "EUR") {
      return Problem(RatesProblem::kBadCode);
    }
    const std::string code(*attributes->currency);
    if (std::any_of(result.rates.begin(), result.rates.end(),
                    [&code](const CurrencyRate& r) { return r.code == code; })) {
      return Problem(RatesProblem::kBadCode);
    }
    const std::optional<double> rate =
        attributes->rate ? ParseRate(*attributes->rate) : std::nullopt;
    if (!rate) return Problem(RatesProblem::kBadRate);
    if (result.rates.size() >= kMaxCurrencies) return Problem(RatesProblem::kNotRatesFile);
    result.rates.push_back({code, *rate});
  }
  // A body cut off inside the dated Cube, a broken tag or a Cube without entries is no file.
  if (scanner.broken() || depth != 0 || result.rates.empty()) {
    return Problem(RatesProblem::kNotRatesFile);
  }
  return {std::move(result), RatesProblem::kNone};
}

}  // namespace velmora
