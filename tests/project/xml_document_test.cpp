#include "project/xml_document.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "project/project_binding.h"
#include "tests/project/temp_dir.h"

using project_io::XmlDocument;
using project_io::XmlError;
using project_io::XmlNode;

TEST(XmlDocumentLoad, MissingFileCannotOpen)
{
    TempDir dir;
    XmlDocument doc;
    EXPECT_EQ(doc.load(dir.file("absent.xml")), XmlError::CannotOpen);
    EXPECT_FALSE(doc.active());
    EXPECT_FALSE(doc.root().valid());
    EXPECT_EQ(doc.load(dir.path().string()), XmlError::CannotOpen);
}

TEST(XmlDocumentLoad, MalformedTextIsRefused)
{
    XmlDocument doc;
    EXPECT_EQ(doc.loadFromText("this is no XML"), XmlError::Malformed);
    EXPECT_EQ(doc.loadFromText("<a><b></a>"), XmlError::Malformed);
    EXPECT_EQ(doc.loadFromText(""), XmlError::Malformed);
    EXPECT_EQ(doc.loadFromText("<?xml version=\"1.0\"?><!-- only a comment -->"), XmlError::Malformed);
    EXPECT_FALSE(doc.active());
    // Handles on an inactive document read as empty and never crash.
    EXPECT_EQ(doc.root().child("x").text(), "");
    EXPECT_EQ(doc.toText(), "");
}

TEST(XmlDocumentNodes, ChildIsCreatedOnAccess)
{
    XmlDocument doc;
    ASSERT_EQ(doc.loadFromText("<root><a>1</a></root>"), XmlError::None);
    const XmlNode root = doc.root();
    EXPECT_EQ(root.tag(), "root");
    EXPECT_EQ(root.child("a").text(), "1");
    EXPECT_FALSE(root.findChild("b").valid());
    EXPECT_EQ(root.child("b").text(), "");
    EXPECT_TRUE(root.findChild("b").valid());
    EXPECT_TRUE(root.child("b").textIsNull());
    root.child("b").setText("two");
    EXPECT_EQ(root.child("b").text(), "two");
    EXPECT_EQ(doc.toText(), "<root>\n  <a>1</a>\n  <b>two</b>\n</root>\n");
}

TEST(XmlDocumentNodes, TextsKeepBlanksAndSpecialCharacters)
{
    XmlDocument doc;
    ASSERT_EQ(doc.loadFromText("<root/>"), XmlError::None);
    const XmlNode root = doc.root();
    root.child("blank").setText(" ");
    root.child("lines").setText("one\ntwo \n three");
    root.child("marks").setText("<a & \"b\" 'c'>");
    root.child("utf8").setText("Petrović – 2 m²");
    root.setAttribute("att", "x\ty\n\"<&>\"");
    XmlDocument again;
    ASSERT_EQ(again.loadFromText(doc.toText()), XmlError::None);
    const XmlNode r = again.root();
    EXPECT_EQ(r.child("blank").text(), " ");
    EXPECT_EQ(r.child("lines").text(), "one\ntwo \n three");
    EXPECT_EQ(r.child("marks").text(), "<a & \"b\" 'c'>");
    EXPECT_EQ(r.child("utf8").text(), "Petrović – 2 m²");
    EXPECT_EQ(r.attribute("att"), "x\ty\n\"<&>\"");
}

TEST(XmlDocumentNodes, AttributesReadEmptyWhenAbsent)
{
    XmlDocument doc;
    ASSERT_EQ(doc.loadFromText("<root count=\"3\"/>"), XmlError::None);
    const XmlNode root = doc.root();
    EXPECT_TRUE(root.hasAttribute("count"));
    EXPECT_EQ(root.attribute("count"), "3");
    EXPECT_FALSE(root.hasAttribute("other"));
    EXPECT_EQ(root.attribute("other"), "");
    root.setAttribute("count", "4");
    root.setAttribute("other", "");
    EXPECT_EQ(root.attribute("count"), "4");
    EXPECT_TRUE(root.hasAttribute("other"));
}

TEST(XmlDocumentLists, ItemsAreNumberedAmongTheirTagOnly)
{
    XmlDocument doc;
    ASSERT_EQ(doc.loadFromText("<list count=\"9\"><i>0</i><!-- note --><other>x</other><i>1</i>text<i>2</i></list>"),
              XmlError::None);
    const XmlNode list = doc.root();
    EXPECT_EQ(list.itemCount("i"), 3);
    EXPECT_EQ(list.item("i", 0).text(), "0");
    EXPECT_EQ(list.item("i", 1).text(), "1");
    EXPECT_EQ(list.item("i", 2).text(), "2");
    EXPECT_FALSE(list.item("i", 3).valid());
    EXPECT_FALSE(list.item("i", -1).valid());
    EXPECT_EQ(list.attribute("count"), "9");  // never computed from the items

    list.appendItem("i").setText("3");
    EXPECT_EQ(list.itemCount("i"), 4);
    EXPECT_EQ(list.item("i", 3).text(), "3");
    EXPECT_TRUE(list.removeItem("i", 1));
    EXPECT_FALSE(list.removeItem("i", 7));
    EXPECT_EQ(list.itemCount("i"), 3);
    EXPECT_EQ(list.item("i", 1).text(), "2");
    EXPECT_EQ(list.child("other").text(), "x");
}

TEST(XmlDocumentSave, UntouchedContentSurvives)
{
    TempDir dir;
    const std::string path = dir.file("doc.xml");
    writeFile(path,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<!-- written by hand -->\n"
              "<?app keep?>\n"
              "<root kind=\"k\">\n"
              "  <extra a=\"1\"><deep>kept</deep></extra>\n"
              "  <!-- inner comment -->\n"
              "  <value>old</value>\n"
              "</root>\n");
    XmlDocument doc;
    ASSERT_EQ(doc.load(path), XmlError::None);
    doc.root().child("value").setText("new");
    doc.root().child("added").setText("yes");
    ASSERT_EQ(doc.save(), XmlError::None);
    const std::string saved = readFile(path);
    EXPECT_EQ(saved,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<!-- written by hand -->\n"
              "<?app keep?>\n"
              "<root kind=\"k\">\n"
              "  <extra a=\"1\">\n"
              "    <deep>kept</deep>\n"
              "  </extra>\n"
              "  <!-- inner comment -->\n"
              "  <value>new</value>\n"
              "  <added>yes</added>\n"
              "</root>\n");
}

TEST(XmlDocumentSave, BlankContainerGetsIndentedChildren)
{
    XmlDocument doc;
    ASSERT_EQ(doc.loadFromText("<velm_root>\n</velm_root>"), XmlError::None);
    doc.root().child("a").setText("1");
    doc.root().child("b").setText("2");
    EXPECT_EQ(doc.toText(), "<velm_root>\n  <a>1</a>\n  <b>2</b>\n</velm_root>\n");
}

TEST(XmlDocumentLoad, EightBitFileIsReadAsWindows1252)
{
    TempDir dir;
    const std::string path = dir.file("old.xml");
    writeFile(path, "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<r><t>Petrovi\xE6 \x80 5</t></r>");
    XmlDocument doc;
    ASSERT_EQ(doc.load(path), XmlError::None);
    EXPECT_EQ(doc.root().child("t").text(), "Petrovi\u00E6 \u20AC 5");
    ASSERT_EQ(doc.save(), XmlError::None);
    // Written back as UTF-8, and the declaration says so.
    EXPECT_EQ(readFile(path), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<r>\n  <t>Petrovi\u00E6 \u20AC 5</t>\n</r>\n");
}

TEST(XmlDocumentSave, DeclarationNamesTheEncodingWritten)
{
    XmlDocument doc;
    ASSERT_EQ(doc.loadFromText("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r/>"), XmlError::None);
    doc.root().child("t").setText("č");
    EXPECT_EQ(doc.toText(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<r>\n  <t>č</t>\n</r>\n");
    ASSERT_EQ(doc.loadFromText("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?><r/>"), XmlError::None);
    EXPECT_EQ(doc.toText(), "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<r />\n");
}

TEST(XmlDocumentSave, FailedSaveLeavesTheFileAndNoTemporaryFiles)
{
    TempDir dir;
    XmlDocument doc;
    ASSERT_EQ(doc.loadFromText("<r/>"), XmlError::None);
    EXPECT_EQ(doc.saveAs(dir.file("missing/folder/doc.xml")), XmlError::CannotWrite);
    std::filesystem::create_directory(dir.file("adir"));
    EXPECT_EQ(doc.saveAs(dir.file("adir")), XmlError::CannotWrite);
    writeFile(dir.file("plain"), "x");
    EXPECT_EQ(doc.saveAs(dir.file("plain/doc.xml")), XmlError::CannotWrite);
    EXPECT_EQ(doc.saveAs(""), XmlError::CannotWrite);
    EXPECT_EQ(readFile(dir.file("plain")), "x");
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 2);
}

TEST(XmlDocumentSave, SymbolicLinkKeepsPointingAtTheSavedFile)
{
    TempDir dir;
    writeFile(dir.file("real.xml"), "<r/>");
    std::filesystem::create_symlink(dir.file("real.xml"), dir.file("link.xml"));
    XmlDocument doc;
    ASSERT_EQ(doc.load(dir.file("link.xml")), XmlError::None);
    doc.root().child("a").setText("1");
    ASSERT_EQ(doc.save(), XmlError::None);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.xml")));
    EXPECT_EQ(readFile(dir.file("real.xml")), "<r>\n  <a>1</a>\n</r>\n");
}

TEST(ProjectBinding, AccessorsCreateAndReadTheTree)
{
    XmlDocument doc;
    ASSERT_EQ(doc.loadFromText("<velm_root/>"), XmlError::None);
    auto root = project_io::getVelmRoot(doc);
    ASSERT_TRUE(root.has_value());
    root->version.set("1.3");
    root->job->measure.set("2");
    const project_io::XmlTabPartsType parts = root->job->data->tab_parts.get();
    EXPECT_FALSE(parts.count.present());
    parts.count.set("5");  // the binding never computes it
    const project_io::XmlPartType p = parts.add();
    p.len.set("100");
    p.bw2->th.set("0.2");
    EXPECT_EQ(parts.size(), 1);
    EXPECT_EQ(parts.count.get(), "5");
    ASSERT_TRUE(parts.item(0).has_value());
    EXPECT_EQ(parts.item(0)->len.get(), "100");
    EXPECT_EQ(parts.item(0)->bw2->th.get(), "0.2");
    EXPECT_FALSE(parts.item(1).has_value());
    EXPECT_TRUE(parts.item(0)->ini.isNull());
    EXPECT_EQ(doc.root().child("job").child("data").child("tab_parts").item("part", 0).child("bw2").attribute("th"),
              "0.2");

    XmlDocument other;
    ASSERT_EQ(other.loadFromText("<velm_label/>"), XmlError::None);
    EXPECT_FALSE(project_io::getVelmRoot(other).has_value());
}
