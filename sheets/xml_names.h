#pragma once

#include <cstddef>
#include <string_view>

#include <pugixml.hpp>

// Names in the XML parts of .xlsx and .ods workbooks, compared without
// their namespace prefix: workbooks written with a prefix read the same.
namespace sheets::xml {

// The local part of an element or attribute name ("x:row" -> "row").
inline std::string_view local(const char* name)
{
    std::string_view s(name);
    const std::size_t colon = s.rfind(':');
    return colon == std::string_view::npos ? s : s.substr(colon + 1);
}

// The first child element of `node` with the local name `name` (empty when none).
inline pugi::xml_node child(pugi::xml_node node, std::string_view name)
{
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && local(c.name()) == name)
            return c;
    return {};
}

// The attribute of `node` with the local name `name` (empty when none).
inline pugi::xml_attribute attribute(pugi::xml_node node, std::string_view name)
{
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
        if (local(a.name()) == name)
            return a;
    return {};
}

} // namespace sheets::xml
