#include "markup/MarkupTags.h"

#include "markup/MarkupText.h"

namespace velmora {
namespace {

TagKind ClassifyClosingTag(char letter, char next) {
    switch (letter) {
    case 'A':
        return TagKind::EndAnchor;
    case 'B':
        return next == '>' ? TagKind::EndBold : TagKind::EndBlinkOrBody;
    case 'E':
        return TagKind::EndErrorUnderline;
    case 'F':
        return TagKind::EndFont;
    case 'H':
        return TagKind::EndHighlight;
    case 'I':
        return TagKind::EndItalic;
    case 'L':
        return TagKind::EndListItem;
    case 'P':
        return TagKind::EndParagraph;
    case 'R':
        return TagKind::EndRotate;
    case 'S':
        if (next == 'U') {
            return TagKind::EndScript;
        }
        return next == 'H' ? TagKind::EndShadow : TagKind::EndStrikeOut;
    case 'U':
        return next == '>' ? TagKind::EndUnderline : TagKind::EndList;
    case 'Z':
        return TagKind::EndHidden;
    default:
        return TagKind::Unknown;
    }
}

TagKind ClassifyOpeningTag(std::string_view text, char letter, char next) {
    switch (letter) {
    case 'A':
        return TagKind::Anchor;
    case 'B':
        switch (next) {
        case '>':
            return TagKind::Bold;
        case 'L':
            return TagKind::Blink;
        case 'O':
            return TagKind::Body;
        case 'R':
            return TagKind::Break;
        default:
            return TagKind::Unknown;
        }
    case 'E':
        return TagKind::ErrorUnderline;
    case 'F':
        return TagKind::Font;
    case 'H':
        if (next == 'I') {
            return TagKind::Highlight;
        }
        return next == 'R' ? TagKind::Rule : TagKind::Unknown;
    case 'I':
        switch (next) {
        case '>':
            return TagKind::Italic;
        case 'N':
            return TagKind::IndentTo;
        case 'M':
            return TagKind::Image;
        default:
            return TagKind::Unknown;
        }
    case 'L':
        return TagKind::ListItem;
    case 'P':
        return TagKind::Paragraph;
    case 'R':
        return TagKind::Rotate;
    case 'S':
        if (next == '>') {
            return TagKind::StrikeOut;
        }
        if (next == 'H') {
            return TagKind::Shadow;
        }
        if (StartsWithIgnoreCase(text, "<SUB>")) {
            return TagKind::Subscript;
        }
        return StartsWithIgnoreCase(text, "<SUP>") ? TagKind::Superscript : TagKind::Unknown;
    case 'U':
        return next == '>' ? TagKind::Underline : TagKind::List;
    case 'Z':
        return TagKind::Hidden;
    default:
        return TagKind::Unknown;
    }
}

std::string_view BetweenQuotes(std::string_view text) {
    const std::size_t open = text.find('"');
    if (open == std::string_view::npos) {
        return {};
    }
    const std::string_view rest = text.substr(open + 1);
    return rest.substr(0, rest.find('"'));
}

} // namespace

TagKind ClassifyTag(std::string_view text) {
    if (text.size() <= 2) {
        return TagKind::TooShort;
    }
    const char second = UpperCaseAnsi(text[1]);
    if (second == '/' && text.size() > 3) {
        return ClassifyClosingTag(UpperCaseAnsi(text[2]), UpperCaseAnsi(text[3]));
    }
    return ClassifyOpeningTag(text, second, UpperCaseAnsi(text[2]));
}

std::string_view TagText(std::string_view text) {
    const std::size_t close = text.find('>');
    return close == std::string_view::npos ? text : text.substr(0, close + 1);
}

std::string_view WrittenAttributeText(std::string_view tag, std::size_t offset) {
    if (offset >= tag.size()) {
        return {};
    }
    const std::string_view rest = tag.substr(offset);
    return rest.substr(0, rest.find('>'));
}

std::string AttributeText(std::string_view tag, std::size_t offset) {
    return UpperCaseAnsi(WrittenAttributeText(tag, offset));
}

std::optional<std::string_view> AttributeValue(std::string_view attributes, std::string_view name) {
    const std::size_t at = attributes.find(name);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    return BetweenQuotes(attributes.substr(at + name.size()));
}

std::optional<std::string_view> WrittenAttributeValue(std::string_view written, std::string_view upper,
                                                      std::string_view name) {
    const std::optional<std::string_view> value = AttributeValue(upper, name);
    // An empty value may be a view into nothing at all.
    if (!value || value->empty()) {
        return value;
    }
    // Upper-casing keeps every length, so the value lies at the same place in the written text.
    const auto at = static_cast<std::size_t>(value->data() - upper.data());
    return written.substr(at, value->size());
}

std::string_view AnchorHref(std::string_view tag) {
    const std::string_view inside = tag.substr(0, tag.find('>'));
    return BetweenQuotes(inside);
}

std::string_view LetterValue(std::string_view tag, char letter) {
    const std::string_view inside = tag.substr(0, tag.find('>'));
    if (inside.size() <= 2) {
        return {};
    }
    const char upper = UpperCaseAnsi(letter);
    const char lower = LowerCaseAnsi(letter);
    const std::size_t at = inside.find_first_of(std::string{upper, lower}, 2);
    if (at == std::string_view::npos) {
        return {};
    }
    return BetweenQuotes(inside.substr(at + 1));
}

std::optional<int> FontSizeFromAttributes(std::string_view attributes) {
    const std::size_t at = attributes.find("SIZE");
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view rest = attributes.substr(at + 4);
    if (const std::size_t equals = rest.find('='); equals != std::string_view::npos) {
        rest.remove_prefix(equals + 1);
    }
    // Only a quote that opens this value counts; a quote further on belongs to a later attribute.
    const std::size_t first = rest.find_first_not_of(' ');
    if (first != std::string_view::npos && rest[first] == '"') {
        rest.remove_prefix(first + 1);
    }
    const int size = IntFromText(rest);
    constexpr int kStepSizes[] = {8, 10, 12, 14, 16};
    return size >= 1 && size <= 5 ? kStepSizes[size - 1] : size;
}

} // namespace velmora
