#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

enum class TagKind {
    TooShort, // "<" with at most one more character: dropped
    Unknown,
    Anchor,
    Bold,
    Blink,
    Body,
    Break,
    ErrorUnderline,
    Font,
    Highlight,
    Rule,
    Italic,
    IndentTo,
    Image,
    ListItem,
    Paragraph,
    Rotate,
    StrikeOut,
    Shadow,
    Subscript,
    Superscript,
    Underline,
    List,
    Hidden,
    EndAnchor,
    EndBold,
    EndBlinkOrBody,
    EndErrorUnderline,
    EndFont,
    EndHighlight,
    EndItalic,
    EndListItem,
    EndParagraph,
    EndRotate,
    EndScript,
    EndShadow,
    EndStrikeOut,
    EndUnderline,
    EndList,
    EndHidden,
};

// What the remaining text, which begins with "<", opens or closes. Only the first letters count.
TagKind ClassifyTag(std::string_view text);

// The tag at the start of text, through its first ">", or the whole text when it has none.
std::string_view TagText(std::string_view text);

// The attribute part of a tag as written: from the 0-based offset up to the first ">".
std::string_view WrittenAttributeText(std::string_view tag, std::size_t offset);

// The same part upper-cased, for finding attribute names.
std::string AttributeText(std::string_view tag, std::size_t offset);

// The value of the first occurrence of name in upper-cased attribute text: the text between the first
// double quote after the name and the next one (to the end when unclosed); empty without quotes.
// Nothing when the name does not occur.
std::optional<std::string_view> AttributeValue(std::string_view attributes, std::string_view name);

// The value that AttributeValue finds in the upper-cased copy, cut from the attribute text as written.
// Picture names and addresses keep their case this way: files and resources are told apart by it.
std::optional<std::string_view> WrittenAttributeValue(std::string_view written, std::string_view upper,
                                                      std::string_view name);

// The text between the first two double quotes anywhere in the tag, as written.
std::string_view AnchorHref(std::string_view tag);

// The value in quotes after the first letter (either case) at or after the tag's third character:
// "x" of IN and "a" of R.
std::string_view LetterValue(std::string_view tag, char letter);

// FONT SIZE: the number after "SIZE" and "=", in quotes or not; 1 to 5 are the HTML steps 8 to 16
// points, any other number is a point size.
std::optional<int> FontSizeFromAttributes(std::string_view attributes);

} // namespace velmora
