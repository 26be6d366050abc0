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

std::vector<Field> stops()
{
    return {{"position", K::Double}, {"color", K::Color}};
}

// The reading a ring or a bar is bound to, after its opacity and visibility.
std::vector<Field> readoutTail()
{
    return {{"opacity", K::Double},    {"visible", K::Bool}, {"displayType", K::Int32},
            {"readingType", K::Int32}, {"class", K::Int32},  {"subClass", K::Int32}};
}

// Gauges, charts, clocks and 3D texts share a frame; fields of the kind follow.
RecordKind widgetRecord(qint32 tag, const char* name, const std::vector<Field>& own)
{
    return {
        tag,
        name,
        {{"shown", K::Bool},
         {"items", K::List,
          with({{"name", K::String}, {"geometry", K::RectF}, {"opacity", K::Double}, {"visible", K::Bool}},
               own),
          64}}};
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
        {IconTag,
         "icon",
         {{"showAll", K::Bool},
          {"items",
           K::List,
           {{"name", K::String},
            {"pos", K::PointF},
            {"size", K::Size},
            {"opacity", K::Double},
            {"file", K::String}},
           64}}},
        {ArcTag,
         "arc",
         {{"showAll", K::Bool},
          {"items", K::List,
           with({{"name", K::String},
                 {"geometry", K::RectF},
                 {"textColor", K::Color},
                 {"font", K::Font},
                 {"ring",
                  K::Block,
                  {{"roundCap", K::Bool},
                   {"solid", K::Bool},
                   {"transparent", K::Bool},
                   {"trackColor", K::Color},
                   {"textColor", K::Color},
                   {"stops", K::List, stops(), 64},
                   {"lineWidth", K::Double},
                   {"startAngle", K::Double},
                   {"span", K::Double},
                   {"minimum", K::Double},
                   {"maximum", K::Double}}}},
                readoutTail()),
           64}}},
        {BarTag,
         "bar",
         {{"showAll", K::Bool},
          {"items", K::List,
           with({{"name", K::String},
                 {"geometry", K::RectF},
                 {"bar",
                  K::Block,
                  {{"flagA", K::Bool},
                   {"transparent", K::Bool},
                   {"flagB", K::Bool},
                   {"fillBackground", K::Bool},
                   {"rotation", K::Double},
                   {"borderWidth", K::Double},
                   {"length", K::Double},
                   {"thickness", K::Double},
                   {"fillInset", K::Double},
                   {"backgroundColor", K::Color},
                   {"borderColor", K::Color},
                   {"stops", K::List, stops(), 64}}}},
                readoutTail()),
           64}}},
        widgetRecord(GaugeTag, "gauge", {{"reading", K::Int32}}),
        widgetRecord(ChartTag, "chart",
                     {{"reading", K::Int32},
                      {"straight", K::Bool},
                      {"lineColor", K::Color},
                      {"captionColor", K::Color},
                      {"backgroundColor", K::Color},
                      {"fillBottomColor", K::Color},
                      {"fillTopColor", K::Color},
                      {"font", K::Font}}),
        widgetRecord(ClockTag, "clock",
                     {{"dial", K::String},
                      {"hourHand", K::String},
                      {"hourPivot", K::Int32},
                      {"minuteHand", K::String},
                      {"minutePivot", K::Int32},
                      {"secondHand", K::String},
                      {"secondPivot", K::Int32}}),
        widgetRecord(ThreeDTag, "threeD",
                     {{"reading", K::Int32},
                      {"angleX", K::Double},
                      {"angleY", K::Double},
                      {"angleZ", K::Double},
                      {"color", K::Color},
                      {"font", K::Font}}),
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
