#pragma once

#include "project/xml_binding.h"
#include "project/xml_document.h"

namespace project_io {

// The typed view of the project document (root `velm_root`): one class per
// element type, its members named after the children and attributes they
// reach. Text and value members have get()/set(), node members get() and ->,
// lists count/size/item/add.

using binding::Attr;
using binding::Node;
using binding::Text;
using binding::Value;

// An edge band of a part: type name, thickness and third attribute.
struct XmlBand : BoundElement {
    using BoundElement::BoundElement;
    Attr<"val"> val{node()};
    Attr<"th"> th{node()};
    Attr<"sg"> sg{node()};
};

struct XmlSheetType : BoundElement {
    using BoundElement::BoundElement;
    Text<"len"> len{node()};
    Text<"wid"> wid{node()};
    Text<"qty"> qty{node()};
    Value<"descr"> descr{node()};
};

struct XmlPartType : BoundElement {
    using BoundElement::BoundElement;
    Text<"len"> len{node()};
    Text<"wid"> wid{node()};
    Text<"qty"> qty{node()};
    Value<"ini"> ini{node()};
    Text<"rot"> rot{node()};
    Node<XmlBand, "bl1"> bl1{node()};
    Node<XmlBand, "bl2"> bl2{node()};
    Node<XmlBand, "bw1"> bw1{node()};
    Node<XmlBand, "bw2"> bw2{node()};
};

// A placed part of the result; `ini` belongs to the schema but is never used.
struct XmlElemType : BoundElement {
    using BoundElement::BoundElement;
    Text<"tnb"> tnb{node()};
    Text<"x"> x{node()};
    Text<"y"> y{node()};
    Text<"x1"> x1{node()};
    Text<"y1"> y1{node()};
    Text<"rot"> rot{node()};
    Text<"enb"> enb{node()};
    Text<"ini"> ini{node()};
};

struct XmlOffcutType : BoundElement {
    using BoundElement::BoundElement;
    Text<"tnb"> tnb{node()};
    Text<"x"> x{node()};
    Text<"y"> y{node()};
    Text<"x1"> x1{node()};
    Text<"y1"> y1{node()};
};

using XmlTabSheetsType = BoundCollection<XmlSheetType, "sheet">;
using XmlTabPartsType = BoundCollection<XmlPartType, "part">;
using XmlElementsType = BoundCollection<XmlElemType, "e">;
using XmlOffcutsType = BoundCollection<XmlOffcutType, "o">;

struct XmlStats : BoundElement {
    using BoundElement::BoundElement;
    Value<"parts"> parts{node()};
    Value<"used_parts"> used_parts{node()};
    Value<"used_sheets"> used_sheets{node()};
    Value<"part_area"> part_area{node()};
    Value<"average_yield"> average_yield{node()};
    Value<"last_sheet_yield"> last_sheet_yield{node()};
    Value<"cut_length"> cut_length{node()};
    Value<"banding_length"> banding_length{node()};
};

struct XmlDiagrams : BoundElement {
    using BoundElement::BoundElement;
    Node<XmlElementsType, "elements"> elements{node()};
    Node<XmlOffcutsType, "offcuts"> offcuts{node()};
};

struct XmlData : BoundElement {
    using BoundElement::BoundElement;
    Node<XmlStats, "stats"> stats{node()};
    Node<XmlTabSheetsType, "tab_sheets"> tab_sheets{node()};
    Node<XmlTabPartsType, "tab_parts"> tab_parts{node()};
    Node<XmlDiagrams, "diagrams"> diagrams{node()};
};

struct XmlJob : BoundElement {
    using BoundElement::BoundElement;
    Text<"measure"> measure{node()};
    Value<"cover_title"> cover_title{node()};
    Value<"client_name"> client_name{node()};
    Value<"client_surname"> client_surname{node()};
    Value<"client_address"> client_address{node()};
    Value<"client_phone"> client_phone{node()};
    Value<"client_note"> client_note{node()};
    Text<"report"> report{node()};
    Text<"bill"> bill{node()};
    Text<"price1"> price1{node()};
    Text<"price2"> price2{node()};
    Text<"price3"> price3{node()};
    Node<XmlData, "data"> data{node()};
};

struct XmlVelmRoot : BoundElement {
    using BoundElement::BoundElement;
    Text<"version"> version{node()};
    Text<"type"> type{node()};
    Value<"author"> author{node()};
    Value<"company"> company{node()};
    Text<"date_time"> date_time{node()};
    Node<XmlJob, "job"> job{node()};
};

// The document root as a velm_root view; nothing when the document is not
// loaded or its root element has another tag.
[[nodiscard]] inline std::optional<XmlVelmRoot> getVelmRoot(const XmlDocument& doc)
{
    const XmlNode root = doc.root();
    if (!root.valid() || root.tag() != "velm_root")
        return std::nullopt;
    return XmlVelmRoot(root);
}

} // namespace project_io
