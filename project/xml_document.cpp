#include "project/xml_document.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <new>
#include <sstream>

#include <pugixml.hpp>

#include "engine/text_encoding.h"

namespace project_io {

namespace {

// Comments, processing instructions and the declaration are kept so that a
// save writes them back. A text that is nothing but blanks is kept when it is
// the element's only child (a cell holding " " must survive a round trip);
// blanks between elements are dropped and rebuilt by the indentation on save.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_declaration | pugi::parse_comments
    | pugi::parse_pi | pugi::parse_doctype | pugi::parse_ws_pcdata_single;
constexpr unsigned kSaveOptions = pugi::format_indent | pugi::format_no_declaration;

pugi::xml_node wrap(pugi::xml_node_struct* n) { return pugi::xml_node(n); }

std::string toString(std::string_view s) { return std::string(s); }

bool isText(const pugi::xml_node& n) { return n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata; }

bool isBlank(const char* s)
{
    for (; *s; ++s)
        if (*s != ' ' && *s != '\t' && *s != '\n' && *s != '\r')
            return false;
    return true;
}

// An element written as "<a>\n</a>" keeps its line break as text; once it gets
// element children that text would turn the whole list into mixed content,
// printed on one line. It carries nothing, so it goes.
void dropBlankText(pugi::xml_node parent)
{
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling())
        if (!(c.type() == pugi::node_pcdata && isBlank(c.value())))
            return;
    while (pugi::xml_node c = parent.first_child())
        parent.remove_child(c);
}

pugi::xml_node appendElement(pugi::xml_node parent, std::string_view tag)
{
    dropBlankText(parent);
    pugi::xml_node n = parent.append_child(pugi::node_element);
    n.set_name(toString(tag).c_str());
    return n;
}

pugi::xml_node firstChild(pugi::xml_node parent, std::string_view tag)
{
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && tag == c.name())
            return c;
    return {};
}

bool isUtf8Name(std::string_view name)
{
    std::string lower;
    for (const char c : name)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower == "utf-8" || lower == "utf8";
}

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// The encoding an XML declaration at the start of `text` names; empty when
// there is no declaration or it names none.
std::string declaredEncoding(std::string_view text)
{
    if (startsWith(text, "\xEF\xBB\xBF"))
        text.remove_prefix(3);
    if (!startsWith(text, "<?xml"))
        return {};
    const size_t end = text.find("?>");
    const std::string_view decl = text.substr(0, end);
    const size_t at = decl.find("encoding");
    if (at == std::string_view::npos)
        return {};
    size_t i = decl.find_first_of("\"'", at);
    if (i == std::string_view::npos)
        return {};
    const char quote = decl[i];
    const size_t close = decl.find(quote, i + 1);
    if (close == std::string_view::npos)
        return {};
    return std::string(decl.substr(i + 1, close - i - 1));
}

std::string lineOf(std::string_view text, std::ptrdiff_t offset)
{
    if (offset < 0)
        offset = 0;
    const auto upTo = text.substr(0, std::min(text.size(), static_cast<size_t>(offset)));
    return "line " + std::to_string(1 + std::count(upTo.begin(), upTo.end(), '\n'));
}

} // namespace

// ---- XmlNode ----

std::string XmlNode::tag() const { return m_node ? wrap(m_node).name() : std::string(); }

XmlNode XmlNode::child(std::string_view tag) const
{
    if (!m_node)
        return {};
    pugi::xml_node c = firstChild(wrap(m_node), tag);
    if (!c)
        c = appendElement(wrap(m_node), tag);
    return XmlNode(c.internal_object());
}

XmlNode XmlNode::findChild(std::string_view tag) const
{
    if (!m_node)
        return {};
    return XmlNode(firstChild(wrap(m_node), tag).internal_object());
}

std::string XmlNode::text() const { return m_node ? wrap(m_node).text().get() : std::string(); }

bool XmlNode::textIsNull() const { return !m_node || *wrap(m_node).text().get() == '\0'; }

void XmlNode::setText(std::string_view text) const
{
    if (!m_node)
        return;
    pugi::xml_node n = wrap(m_node);
    // Replace every text child, so that the element ends up with exactly
    // the new text and its element children, if any, stay.
    for (pugi::xml_node c = n.first_child(); c;) {
        const pugi::xml_node next = c.next_sibling();
        if (isText(c))
            n.remove_child(c);
        c = next;
    }
    if (text.empty())
        return;
    pugi::xml_node t = n.prepend_child(pugi::node_pcdata);
    t.set_value(toString(text).c_str());
}

std::string XmlNode::attribute(std::string_view name) const
{
    if (!m_node)
        return {};
    return wrap(m_node).attribute(toString(name).c_str()).value();
}

bool XmlNode::hasAttribute(std::string_view name) const
{
    return m_node && wrap(m_node).attribute(toString(name).c_str());
}

void XmlNode::setAttribute(std::string_view name, std::string_view value) const
{
    if (!m_node)
        return;
    pugi::xml_node n = wrap(m_node);
    const std::string key(name);
    pugi::xml_attribute a = n.attribute(key.c_str());
    if (!a)
        a = n.append_attribute(key.c_str());
    a.set_value(toString(value).c_str());
}

int XmlNode::itemCount(std::string_view itemTag) const
{
    int n = 0;
    for (XmlNode c = findChild(itemTag); c.valid(); c = c.nextItem())
        ++n;
    return n;
}

XmlNode XmlNode::item(std::string_view itemTag, int index) const
{
    if (index < 0)
        return {};
    XmlNode c = findChild(itemTag);
    for (int i = 0; i < index && c.valid(); ++i)
        c = c.nextItem();
    return c;
}

XmlNode XmlNode::appendItem(std::string_view itemTag) const
{
    if (!m_node)
        return {};
    return XmlNode(appendElement(wrap(m_node), itemTag).internal_object());
}

bool XmlNode::removeItem(std::string_view itemTag, int index) const
{
    const XmlNode victim = item(itemTag, index);
    if (!victim.valid())
        return false;
    return wrap(m_node).remove_child(wrap(victim.m_node));
}

XmlNode XmlNode::nextItem() const
{
    if (!m_node)
        return {};
    const pugi::xml_node n = wrap(m_node);
    for (pugi::xml_node c = n.next_sibling(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && std::strcmp(c.name(), n.name()) == 0)
            return XmlNode(c.internal_object());
    return {};
}

// ---- XmlDocument ----

struct XmlDocument::Impl {
    pugi::xml_document doc;
    bool active = false;
    bool bom = false;
};

XmlDocument::XmlDocument() : m_impl(std::make_unique<Impl>()) {}
XmlDocument::~XmlDocument() = default;
XmlDocument::XmlDocument(XmlDocument&&) noexcept = default;
XmlDocument& XmlDocument::operator=(XmlDocument&&) noexcept = default;

XmlError XmlDocument::load(const std::string& fileName, std::uint64_t sizeLimit)
{
    close();
    m_fileName = fileName;
    m_problem = {};
    m_errorDetail.clear();
    engine::Result<std::string> bytes = engine::readWholeFile(fileName, sizeLimit);
    if (!bytes.ok()) {
        m_problem = bytes.error();
        return XmlError::CannotOpen;
    }
    return loadFromText(*bytes);
}

XmlError XmlDocument::loadFromText(std::string_view text)
{
    if (!m_impl)
        m_impl = std::make_unique<Impl>();
    m_impl->doc.reset();
    m_impl->active = false;
    m_impl->bom = startsWith(text, "\xEF\xBB\xBF");
    m_replaced = 0;
    m_errorDetail.clear();

    const bool wideBom = startsWith(text, "\xFF\xFE") || startsWith(text, "\xFE\xFF");
    pugi::xml_parse_result parsed;
    std::string utf8;
    try {
        if (wideBom) {
            parsed = m_impl->doc.load_buffer(text.data(), text.size(), kParseOptions, pugi::encoding_auto);
        } else {
            engine::DecodedText decoded = engine::decodeTextFile(text, declaredEncoding(text));
            m_replaced = decoded.replaced;
            utf8 = std::move(decoded.text);
            parsed = m_impl->doc.load_buffer(utf8.data(), utf8.size(), kParseOptions, pugi::encoding_utf8);
        }
    } catch (const std::bad_alloc&) {
        m_impl->doc.reset();
        return XmlError::Malformed;
    }
    if (!parsed || !m_impl->doc.document_element()) {
        m_errorDetail = lineOf(wideBom ? std::string_view() : std::string_view(utf8), parsed ? 0 : parsed.offset);
        m_impl->doc.reset();
        return XmlError::Malformed;
    }
    // A well-formed document has one root element and no text beside it;
    // the parser takes a fragment without complaint.
    int roots = 0;
    for (pugi::xml_node c = m_impl->doc.first_child(); c; c = c.next_sibling()) {
        if (c.type() == pugi::node_element && ++roots == 2) {
            m_errorDetail = lineOf(utf8, c.offset_debug()) + ": " + c.name();
            m_impl->doc.reset();
            return XmlError::Malformed;
        }
        if (isText(c) && !isBlank(c.value())) {
            m_errorDetail = lineOf(utf8, c.offset_debug());
            m_impl->doc.reset();
            return XmlError::Malformed;
        }
    }
    // The tree is written back as UTF-8, so a declaration naming another
    // encoding would lie about the saved bytes.
    for (pugi::xml_node c = m_impl->doc.first_child(); c; c = c.next_sibling()) {
        pugi::xml_attribute encoding = c.type() == pugi::node_declaration ? c.attribute("encoding") : pugi::xml_attribute();
        if (encoding && !isUtf8Name(encoding.value()))
            encoding.set_value("UTF-8");
    }
    m_impl->active = true;
    return XmlError::None;
}

bool XmlDocument::active() const { return m_impl && m_impl->active; }

XmlNode XmlDocument::root() const
{
    if (!active())
        return {};
    return XmlNode(m_impl->doc.document_element().internal_object());
}

std::string XmlDocument::toText() const
{
    if (!active())
        return {};
    std::ostringstream out;
    unsigned flags = kSaveOptions;
    if (m_impl->bom)
        flags |= pugi::format_write_bom;
    m_impl->doc.save(out, "  ", flags, pugi::encoding_utf8);
    return out.str();
}

XmlError XmlDocument::save() const { return saveAs(m_fileName); }

XmlError XmlDocument::saveAs(const std::string& fileName) const
{
    if (!active())
        return XmlError::CannotWrite;
    std::string text;
    try {
        text = toText();
    } catch (const std::bad_alloc&) {
        return XmlError::CannotWrite;
    }
    const engine::Status written = engine::writeFileAtomically(fileName, text);
    m_problem = written;
    return written.ok() ? XmlError::None : XmlError::CannotWrite;
}

void XmlDocument::close()
{
    if (m_impl) {
        m_impl->doc.reset();
        m_impl->active = false;
    }
}

} // namespace project_io
