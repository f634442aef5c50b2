#include "app/caption_groups.h"

#include <array>

namespace app {

namespace {

// Group 1: TMainForm.
constexpr CaptionAssignment kGroup1[] = {
    {"Label23", CaptionKind::Caption, 0, 50},
    {"Label24", CaptionKind::Caption, 0, 51},
    {"Label25", CaptionKind::Caption, 0, 52},
    {"Label26", CaptionKind::Caption, 0, 53},
    {"Label27", CaptionKind::Caption, 0, 54},
    {"Label28", CaptionKind::Caption, 0, 55},
    {"Label40", CaptionKind::Caption, 0, 56},
    {"Label54", CaptionKind::Caption, 0, 57},
    {"Prekini", CaptionKind::Caption, 0, 58},
    {"Label36", CaptionKind::Caption, 0, 59},
    {"Label43", CaptionKind::Caption, 0, 60},
    {"Label19", CaptionKind::Caption, 0, 61},
    {"Label20", CaptionKind::Caption, 0, 62},
    {"BitBtn5", CaptionKind::Caption, 0, 63},
    {"BitBtn6", CaptionKind::Caption, 0, 64},
    {"BitBtn7", CaptionKind::Caption, 0, 65},
    {"Label35", CaptionKind::Caption, 0, 66},
    {"BitBtn8", CaptionKind::Caption, 0, 68},
    {"Label66", CaptionKind::Caption, 0, 71},
    {"Label67", CaptionKind::Caption, 0, 72},
    {"Label68", CaptionKind::Caption, 0, 73},
    {"File1", CaptionKind::MenuCaption, 0, 74},
    {"Options1", CaptionKind::MenuCaption, 0, 75},
    {"Help1", CaptionKind::MenuCaption, 0, 76},
    {"Pocninovo1", CaptionKind::MenuCaption, 0, 77},
    {"ToolButton1", CaptionKind::Hint, 0, 78},
    {"Ucitaj1", CaptionKind::MenuCaption, 0, 79},
    {"ToolButton2", CaptionKind::Hint, 0, 80},
    {"Dodaj1", CaptionKind::MenuCaption, 0, 81},
    {"ToolButton7", CaptionKind::Hint, 0, 82},
    {"Sacuvaj1", CaptionKind::MenuCaption, 0, 83},
    {"ToolButton4", CaptionKind::Hint, 0, 84},
    {"SacuvajKao1", CaptionKind::MenuCaption, 0, 85},
    {"ToolButton5", CaptionKind::Hint, 0, 86},
    {"Exit1", CaptionKind::MenuCaption, 0, 87},
    {"Print1", CaptionKind::MenuCaption, 0, 88},
    {"ToolButton8", CaptionKind::Hint, 0, 89},
    {"PrinterSetup1", CaptionKind::MenuCaption, 0, 90},
    {"Settings1", CaptionKind::MenuCaption, 0, 91},
    {"Ref1", CaptionKind::MenuCaption, 0, 92},
    {"Homepage1", CaptionKind::MenuCaption, 0, 93},
    {"About1", CaptionKind::MenuCaption, 0, 94},
    {"pag1", CaptionKind::Caption, 0, 97},
    {"pag2", CaptionKind::Caption, 0, 98},
    {"pag3", CaptionKind::Caption, 0, 99},
    {"pag4", CaptionKind::Caption, 0, 100},
    {"Arhiva", CaptionKind::Caption, 0, 101},
    {"StringGrid1", CaptionKind::ColumnTitle, 1, 102},
    {"StringGrid1", CaptionKind::ColumnTitle, 2, 103},
    {"StringGrid1", CaptionKind::ColumnTitle, 3, 104},
    {"StringGrid1", CaptionKind::ColumnTitle, 4, 105},
    {"StringGrid2", CaptionKind::ColumnTitle, 1, 106},
    {"StringGrid2", CaptionKind::ColumnTitle, 2, 107},
    {"StringGrid2", CaptionKind::ColumnTitle, 3, 108},
    {"StringGrid2", CaptionKind::ColumnTitle, 4, 109},
    {"StringGrid2", CaptionKind::ColumnTitle, 5, 110},
    {"Printer", CaptionKind::FontName, 0, 113},
    {"Image5", CaptionKind::FontName, 0, 114},
    {"Label1", CaptionKind::Caption, 0, 120},
    {"Label2", CaptionKind::Caption, 0, 121},
    {"Label3", CaptionKind::Caption, 0, 122},
    {"Label6", CaptionKind::Caption, 0, 123},
    {"Label10", CaptionKind::Caption, 0, 124},
    {"Label11", CaptionKind::Caption, 0, 125},
    {"Label48", CaptionKind::Caption, 0, 126},
    {"Label52", CaptionKind::Caption, 0, 127},
    {"Label53", CaptionKind::Caption, 0, 128},
    {"Label12", CaptionKind::Caption, 0, 129},
    {"Label15", CaptionKind::Caption, 0, 130},
    {"Label21", CaptionKind::Caption, 0, 131},
    {"Button4", CaptionKind::Caption, 0, 132},
    {"Button1", CaptionKind::Caption, 0, 133},
    {"BitBtn15", CaptionKind::Caption, 0, 134},
    {"TableMinus", CaptionKind::Caption, 0, 135},
    {"Label69", CaptionKind::Caption, 0, 148},
    {"Label70", CaptionKind::Caption, 0, 149},
    {"BitBtn18", CaptionKind::Caption, 0, 150},
    {"Label62", CaptionKind::Caption, 0, 151},
    {"Label63", CaptionKind::Caption, 0, 152},
    {"Label64", CaptionKind::Caption, 0, 153},
    {"Label65", CaptionKind::Caption, 0, 154},
    {"Panel4", CaptionKind::Caption, 0, 155},
    {"Panel5", CaptionKind::Caption, 0, 156},
    {"OpenDialog1", CaptionKind::DialogTitle, 0, 167},
    {"SaveDialog1", CaptionKind::DialogTitle, 0, 168},
    {"BitBtn3", CaptionKind::Hint, 0, 174},
    {"BitBtn4", CaptionKind::Hint, 0, 175},
    {"BitBtn1", CaptionKind::Hint, 0, 176},
    {"BitBtn2", CaptionKind::Hint, 0, 177},
    {"ElementiMinus", CaptionKind::Hint, 0, 178},
    {"BitBtn16", CaptionKind::Hint, 0, 179},
    {"StringGrid2", CaptionKind::ColumnTitle, 6, 184},
    {"StringGrid2", CaptionKind::ColumnTitle, 7, 185},
    {"StringGrid2", CaptionKind::ColumnTitle, 8, 186},
    {"StringGrid2", CaptionKind::ColumnTitle, 9, 187},
    {"Kantiranje1", CaptionKind::MenuCaption, 0, 188},
    {"Label42", CaptionKind::Caption, 0, 223},
    {"ToolButton10", CaptionKind::Hint, 0, 245},
    {"SpeedButton1", CaptionKind::Hint, 0, 246},
    {"Detalji1", CaptionKind::MenuCaption, 0, 262},
    {"ToolButton13", CaptionKind::Hint, 0, 263},
    {"Import1", CaptionKind::MenuCaption, 0, 268},
    {"Export1", CaptionKind::MenuCaption, 0, 284},
    {"fromExcel", CaptionKind::MenuCaption, 0, 285},
    {"fromXML", CaptionKind::MenuCaption, 0, 286},
    {"toXML", CaptionKind::MenuCaption, 0, 286},
    {"Deleterow1", CaptionKind::MenuCaption, 0, 291},
    {"Deleterow2", CaptionKind::MenuCaption, 0, 291},
    {"toDXF", CaptionKind::MenuCaption, 0, 317},
    {"Printlabels1", CaptionKind::MenuCaption, 0, 384},
};

// Group 2: TFSettings.
constexpr CaptionAssignment kGroup2[] = {
    {"Button2", CaptionKind::Caption, 0, 67},
    {"TFSettings", CaptionKind::WindowTitle, 0, 91},
    {"Label10", CaptionKind::Caption, 0, 106},
    {"Label12", CaptionKind::Caption, 0, 107},
    {"GroupBox10", CaptionKind::Caption, 0, 136},
    {"GroupBox8", CaptionKind::Caption, 0, 137},
    {"Label50", CaptionKind::Caption, 0, 138},
    {"Label42", CaptionKind::Caption, 0, 139},
    {"GroupBox9", CaptionKind::Caption, 0, 142},
    {"Label61", CaptionKind::Caption, 0, 143},
    {"kantiranje", CaptionKind::Caption, 0, 144},
    {"GroupBox6", CaptionKind::Caption, 0, 145},
    {"zvuk", CaptionKind::Caption, 0, 146},
    {"RadioGroup2", CaptionKind::Caption, 0, 164},
    {"Label2", CaptionKind::Caption, 0, 165},
    {"Label3", CaptionKind::Caption, 0, 166},
    {"GroupBox5", CaptionKind::Caption, 0, 195},
    {"GroupBox1", CaptionKind::Caption, 0, 197},
    {"LoadReport", CaptionKind::Caption, 0, 198},
    {"LoadSema", CaptionKind::Caption, 0, 199},
    {"GroupBox3", CaptionKind::Caption, 0, 200},
    {"Label6", CaptionKind::Caption, 0, 201},
    {"Label7", CaptionKind::Caption, 0, 202},
    {"Label8", CaptionKind::Caption, 0, 203},
    {"Label13", CaptionKind::Caption, 0, 204},
    {"CheckBox2", CaptionKind::Caption, 0, 212},
    {"RadioGroup1", CaptionKind::Item, 0, 213},
    {"RadioGroup1", CaptionKind::Item, 1, 214},
    {"RadioGroup1", CaptionKind::Caption, 0, 218},
    {"RadioGroup1", CaptionKind::Item, 2, 221},
    {"GroupBox2", CaptionKind::Caption, 0, 222},
    {"GroupBox7", CaptionKind::Caption, 0, 224},
    {"GroupBox11", CaptionKind::Caption, 0, 225},
    {"GroupBox12", CaptionKind::Caption, 0, 226},
    {"Label1", CaptionKind::Caption, 0, 227},
    {"Label18", CaptionKind::Caption, 0, 227},
    {"Label11", CaptionKind::Caption, 0, 228},
    {"Label19", CaptionKind::Caption, 0, 228},
    {"Label14", CaptionKind::Caption, 0, 229},
    {"Label21", CaptionKind::Caption, 0, 229},
    {"Label16", CaptionKind::Caption, 0, 230},
    {"Label20", CaptionKind::Caption, 0, 230},
    {"Label15", CaptionKind::Caption, 0, 231},
    {"Label22", CaptionKind::Caption, 0, 231},
    {"Label17", CaptionKind::Caption, 0, 232},
    {"Label23", CaptionKind::Caption, 0, 232},
    {"CheckBox3", CaptionKind::Caption, 0, 240},
    {"Button1", CaptionKind::Caption, 0, 247},
    {"TabSheet1", CaptionKind::Caption, 0, 249},
    {"TabSheet2", CaptionKind::Caption, 0, 250},
    {"TabSheet3", CaptionKind::Caption, 0, 251},
    {"TabSheet4", CaptionKind::Caption, 0, 252},
    {"GroupBox4", CaptionKind::Caption, 0, 267},
    {"CheckBox1", CaptionKind::Caption, 0, 271},
    {"RadioGroup2", CaptionKind::Item, 0, 297},
    {"RadioGroup2", CaptionKind::Item, 1, 298},
    {"RadioGroup2", CaptionKind::Item, 2, 299},
    {"RadioGroup2", CaptionKind::Item, 3, 300},
    {"RadioGroup2", CaptionKind::Item, 4, 301},
    {"RadioGroup2", CaptionKind::Item, 5, 302},
    {"areastyle", CaptionKind::Caption, 0, 303},
    {"areastyle_combo", CaptionKind::Item, 0, 306},
    {"areastyle_combo", CaptionKind::Item, 1, 307},
    {"areastyle_combo", CaptionKind::Item, 2, 308},
    {"areastyle_combo", CaptionKind::Item, 3, 309},
    {"areastyle_combo", CaptionKind::Item, 4, 310},
    {"areastyle_combo", CaptionKind::Item, 5, 311},
    {"chk_print_duplicate", CaptionKind::Caption, 0, 312},
    {"chk_manual_duplicate", CaptionKind::Caption, 0, 313},
    {"chk_deep", CaptionKind::Caption, 0, 524},
};

// Group 3: TAboutBox.
constexpr CaptionAssignment kGroup3[] = {
    {"TAboutBox", CaptionKind::WindowTitle, 0, 94},
};

// Group 5: TImportExcel.
constexpr CaptionAssignment kGroup5[] = {
    {"Label4", CaptionKind::Caption, 0, 102},
    {"Label5", CaptionKind::Caption, 0, 103},
    {"Label6", CaptionKind::Caption, 0, 104},
    {"Label7", CaptionKind::Caption, 0, 105},
    {"Label8", CaptionKind::Caption, 0, 106},
    {"Label9", CaptionKind::Caption, 0, 107},
    {"Label10", CaptionKind::Caption, 0, 108},
    {"Label11", CaptionKind::Caption, 0, 109},
    {"Label13", CaptionKind::Caption, 0, 208},
    {"Label3", CaptionKind::Caption, 0, 209},
    {"Label1", CaptionKind::Caption, 0, 210},
    {"Label12", CaptionKind::Caption, 0, 210},
    {"Label14", CaptionKind::Caption, 0, 211},
    {"Label2", CaptionKind::Caption, 0, 211},
    {"LinkBtn1", CaptionKind::Caption, 0, 215},
    {"LinkBtn2", CaptionKind::Caption, 0, 215},
    {"PreviewBtn1", CaptionKind::Caption, 0, 216},
    {"PreviewBtn2", CaptionKind::Caption, 0, 216},
    {"ImportBtn1", CaptionKind::Caption, 0, 217},
    {"ImportBtn2", CaptionKind::Caption, 0, 217},
    {"TImportExcel", CaptionKind::WindowTitle, 0, 219},
    {"BitBtn8", CaptionKind::Caption, 0, 220},
};

// Group 6: TPrProp.
constexpr CaptionAssignment kGroup6[] = {
    {"Button1", CaptionKind::Caption, 0, 247},
    {"TPrProp", CaptionKind::WindowTitle, 0, 253},
    {"lbl_title", CaptionKind::Caption, 0, 254, ":"},
    {"lbl_author", CaptionKind::Caption, 0, 255, ":"},
    {"lbl_client", CaptionKind::Caption, 0, 256},
    {"cl1", CaptionKind::Caption, 0, 257, ":"},
    {"cl2", CaptionKind::Caption, 0, 258, ":"},
    {"cl3", CaptionKind::Caption, 0, 259, ":"},
    {"cl4", CaptionKind::Caption, 0, 260, ":"},
    {"cl5", CaptionKind::Caption, 0, 261, ":"},
    {"Summary", CaptionKind::Caption, 0, 269},
};

// Group 7: TExportDXF.
constexpr CaptionAssignment kGroup7[] = {
    {"btnCancel", CaptionKind::Caption, 0, 58},
    {"TExportDXF", CaptionKind::WindowTitle, 0, 318},
    {"btnExport", CaptionKind::Caption, 0, 319},
    {"lblColor", CaptionKind::Caption, 0, 321},
    {"lblOutput", CaptionKind::Caption, 0, 322},
    {"lblPart", CaptionKind::Caption, 0, 323},
    {"lblLayoutHeader", CaptionKind::Caption, 0, 324},
    {"lblPartDimension", CaptionKind::Caption, 0, 325},
    {"lblPartName", CaptionKind::Caption, 0, 326},
    {"lblOffcutDimension", CaptionKind::Caption, 0, 327},
    {"spdCustomize", CaptionKind::Caption, 0, 328},
    {"lblExportVersion", CaptionKind::Caption, 0, 329},
    {"lblLayerName2", CaptionKind::Caption, 0, 330},
    {"lblLayername", CaptionKind::Caption, 0, 330},
    {"lblOffcut", CaptionKind::Caption, 0, 331},
};

// Group 8: TPrnEx.
constexpr CaptionAssignment kGroup8[] = {
    {"RadioGroup1", CaptionKind::Caption, 0, 69},
    {"chk_print_cover", CaptionKind::Caption, 0, 265},
    {"GroupBox1", CaptionKind::Caption, 0, 315},
    {"chk_print_report", CaptionKind::Caption, 0, 316},
};

// Group 9: TBands.
constexpr CaptionAssignment kGroup9[] = {
    {"StringGrid1", CaptionKind::ColumnTitle, 0, 190},
    {"StringGrid1", CaptionKind::ColumnTitle, 1, 191},
    {"StringGrid1", CaptionKind::ColumnTitle, 2, 192},
    {"StringGrid1", CaptionKind::ColumnTitle, 3, 193},
    {"StringGrid1", CaptionKind::ColumnTitle, 4, 194},
    {"Deleterow1", CaptionKind::MenuCaption, 0, 291},
    {"Newbandtype1", CaptionKind::MenuCaption, 0, 292},
    {"TBands", CaptionKind::WindowTitle, 0, 304},
};

// Group 10: TcstLabel.
constexpr CaptionAssignment kGroup10[] = {
    {"grpLabelSize", CaptionKind::Caption, 0, 332},
    {"lblSizeWidth", CaptionKind::Caption, 0, 333},
    {"lblSizeLength", CaptionKind::Caption, 0, 334},
    {"grpMargins", CaptionKind::Caption, 0, 335},
    {"lblMarginLeft", CaptionKind::Caption, 0, 336},
    {"lblMarginRight", CaptionKind::Caption, 0, 337},
    {"lblMarginTop", CaptionKind::Caption, 0, 338},
    {"lblMarginBottom", CaptionKind::Caption, 0, 339},
    {"grpGutters", CaptionKind::Caption, 0, 340},
    {"lblGutterHorizontal", CaptionKind::Caption, 0, 341},
    {"lblGutterVertical", CaptionKind::Caption, 0, 342},
    {"lblGutterVerticalUnit", CaptionKind::Caption, 0, 343},
    {"lblMarginBottomUnit", CaptionKind::Caption, 0, 343},
    {"lblMarginRightUnit", CaptionKind::Caption, 0, 343},
    {"lblMarginTopUnit", CaptionKind::Caption, 0, 343},
    {"lblSizeLengthUnit", CaptionKind::Caption, 0, 343},
    {"grpLabelStyle", CaptionKind::Caption, 0, 344},
    {"grpLayout", CaptionKind::Caption, 0, 345},
    {"lblLayoutRows", CaptionKind::Caption, 0, 346},
    {"lblLayoutColumns", CaptionKind::Caption, 0, 347},
    {"TcstLabel", CaptionKind::WindowTitle, 0, 348},
    {"Button2", CaptionKind::Caption, 0, 365},  // the label setup's "Cancel"
};

// Group 11: TfrmLabelItemSetup.
constexpr CaptionAssignment kGroup11[] = {
    {"TfrmLabelItemSetup", CaptionKind::WindowTitle, 0, 349},
    {"lblOutput", CaptionKind::Caption, 0, 350},
    {"lblLeadingText", CaptionKind::Caption, 0, 351},
    {"lblBold", CaptionKind::Caption, 0, 352},
    {"lblFontSize", CaptionKind::Caption, 0, 353},
    {"lblSize", CaptionKind::Caption, 0, 354},
    {"lblName", CaptionKind::Caption, 0, 355},
    {"lblCompany", CaptionKind::Caption, 0, 356},
    {"lblProject", CaptionKind::Caption, 0, 357},
    {"lblAuthor", CaptionKind::Caption, 0, 358},
    {"lblClient", CaptionKind::Caption, 0, 359},
    {"lblAddress", CaptionKind::Caption, 0, 360},
    {"lblPhone", CaptionKind::Caption, 0, 361},
    {"lblNote", CaptionKind::Caption, 0, 362},
    {"lblDate", CaptionKind::Caption, 0, 363},
    {"btnOK", CaptionKind::Caption, 0, 364},
    {"btnCancel", CaptionKind::Caption, 0, 365},
    {"lblBorder", CaptionKind::Caption, 0, 371},
};

// Group 12: TfrmLabelPrint.
constexpr CaptionAssignment kGroup12[] = {
    {"TfrmLabelPrint", CaptionKind::WindowTitle, 0, 366},
    {"lblPart", CaptionKind::Caption, 0, 367},
    {"lblUsedTable", CaptionKind::Caption, 0, 368},
    {"lblOffcut", CaptionKind::Caption, 0, 369},
    {"lblOutput", CaptionKind::Caption, 0, 370},
    {"btnPartSettings", CaptionKind::Caption, 0, 372},
    {"btnUsedTableSettings", CaptionKind::Caption, 0, 373},
    {"btnOffcutSettings", CaptionKind::Caption, 0, 374},
    {"lblLabelStyle", CaptionKind::Caption, 0, 375},
    {"btnCustomizeLabel", CaptionKind::Caption, 0, 376},
    {"btnPrint", CaptionKind::Caption, 0, 377},
    {"btnOK", CaptionKind::Caption, 0, 378},
    {"btnCancel", CaptionKind::Caption, 0, 379},
};

// Group 13: TLabelNew.
constexpr CaptionAssignment kGroup13[] = {
    {"TLabelNew", CaptionKind::WindowTitle, 0, 380},
    {"lblNewLabelName", CaptionKind::Caption, 0, 381},
    {"btnOK", CaptionKind::Caption, 0, 382},
    {"btnCancel", CaptionKind::Caption, 0, 383},
};

struct GroupEntry {
    int number;
    std::string_view window;
    std::span<const CaptionAssignment> assignments;
};

constexpr std::array<GroupEntry, 12> kGroups = {{
    {1, "TMainForm", kGroup1},
    {2, "TFSettings", kGroup2},
    {3, "TAboutBox", kGroup3},
    {5, "TImportExcel", kGroup5},
    {6, "TPrProp", kGroup6},
    {7, "TExportDXF", kGroup7},
    {8, "TPrnEx", kGroup8},
    {9, "TBands", kGroup9},
    {10, "TcstLabel", kGroup10},
    {11, "TfrmLabelItemSetup", kGroup11},
    {12, "TfrmLabelPrint", kGroup12},
    {13, "TLabelNew", kGroup13},
}};

constexpr std::array<int, 12> kGroupNumbers = {1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13};

const GroupEntry* findGroup(int group)
{
    for (const GroupEntry& g : kGroups)
        if (g.number == group)
            return &g;
    return nullptr;
}

} // namespace

std::span<const int> captionGroupNumbers() { return kGroupNumbers; }

std::string_view captionGroupWindow(int group)
{
    const GroupEntry* g = findGroup(group);
    return g ? g->window : std::string_view();
}

std::span<const CaptionAssignment> captionGroup(int group)
{
    const GroupEntry* g = findGroup(group);
    return g ? g->assignments : std::span<const CaptionAssignment>();
}

std::string captionText(const engine::LanguageTable& table, const CaptionAssignment& a)
{
    return table.text(a.entry) + a.suffix;
}

bool namesControl(const CaptionAssignment& a)
{
    return a.kind != CaptionKind::WindowTitle && a.kind != CaptionKind::DialogTitle
        && a.kind != CaptionKind::FontName;
}

} // namespace app
