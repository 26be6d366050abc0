#include "themetags.h"
#include "themetext.h"

// The record kinds as the panels write them: field names are the JSON keys,
// in the order of the record's stream. docs/theme-format.md describes them.
namespace ThemeText {

namespace {

using K = FieldKind;

// Name, position, colour and font open every item of the text-like panels.
std::vector<Field> itemHead()
{
    return {{"name", K::String}, {"pos", K::PointF}, {"color", K::Color}, {"font", K::Font}};
}

std::vector<Field> with(std::vector<Field> head, const std::vector<Field>& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

std::vector<Field> numberWidget()
{
    return with(itemHead(), {{"text", K::String}, {"opacity", K::Double}, {"visible", K::Bool}});
}

std::vector<RecordKind> makeKinds()
{
    return {
        {CustomTextTag,
         "customText",
         {{"showAll", K::Bool},
          {"items", K::List,
           with(itemHead(), {{"text", K::String}, {"opacity", K::Double}, {"effect", K::Int32}}), 64}}},
        {SystemInfoTag,
         "systemInfo",
         {{"showAll", K::Bool},
          {"items",
           K::List,
           {{"caption", K::Group, numberWidget()},
            {"number", K::Group, numberWidget()},
            {"displayType", K::Int32},
            {"readingType", K::Int32},
            {"class", K::Int32},
            {"subClass", K::Int32}},
           64}}},
        {TimeTag,
         "time",
         {{"showAll", K::Bool},
          {"items", K::List,
           with(itemHead(), {{"text", K::String}, {"opacity", K::Double}, {"dateType", K::Int32}}), 64}}},
        {BackgroundTag,
         "background",
         {{"type", K::Int32},
          {"color", K::Color},
          {"rotation", K::Int32},
          {"visible", K::Bool},
          {"file", K::String}}},
        {CaptureTag,
         "capture",
         {{"showFrame", K::Bool},
          {"x", K::Int32},
          {"y", K::Int32},
          {"width", K::Int32},
          {"height", K::Int32},
          {"visible", K::Bool}}},
    };
}

} // namespace

const std::vector<RecordKind>& recordKinds()
{
    static const std::vector<RecordKind> kinds = makeKinds();
    return kinds;
}

} // namespace ThemeText
