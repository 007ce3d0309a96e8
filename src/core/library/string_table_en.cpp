// The English string table: the same ids as the Chinese one, the same number of parts in every
// comma list and the same printf conversions in the same order, so code that splits or fills a
// text works in either language.
#include "string_table.h"

namespace frt::detail {
namespace {

constexpr StringTableEntry kTable[] = {
    {1, "Load"},
    {2, "&Save"},
    {3, "A format string of this name exists already. Do you want to overwrite it?"},
    {4, "Error while removing the string from the pool."},
    {6, "Invalid name: the pool has no format string of this name."},
    {7, "Removes the format string from the pool."},
    {8, "Loads the format string for editing."},
    {9, "Saves the format string."},
    {10, "Show the string's properties"},
    {11, "Closes the dialog"},
    {12, "All strings that match the selection"},
    {13, "Enter the name of the format string."},
    {14, "Selected data block type"},
    {15, "Current format template"},
    {16, "Really remove the string "},
    {17, "Output format string"},
    {18, "Input format string"},
    {19, "The selected data block type does not match. Data may be lost if you go on. Continue?"},
    {20, "Quarvel English 1.0"},
    {23, "Quarvel ---- Data export sample --- Generated: "},
    {24, "Printed document:"},
    {25, "Page : "},
    {500, "Header"},
    {501, "General"},
    {502, "Software"},
    {503, "Block"},
    {505, "File header"},
    {506, "File footer"},
    {507, "Input format string"},
    {508, "Output format string"},
    {509, "Input format string"},
    {510, "Output format string"},
    {511, "Limits"},
    {512, "File header"},
    {513, "Insert input variable ..."},
    {514, "Insert output variable..."},
    {515, "Default output string"},
    {516, "Right,Left"},
    {517, "Normal,Format exp. Basis e,Format exp. Basis E"},
    {518, "0,Space"},
    {519, "No,Yes"},
    {520, "Normal,Format exp. Basis e,Format exp. Basis E"},
    {521, "No,Yes"},
    {522, "Negative only,Always"},
    {523, "Settings"},
    {524, "Default settings of the variables"},
    {526, "Common header"},
    {527, "Format options of the output variable"},
    {900, "Error"},
    {901, "Warning"},
    {1010, "Start failed: the initialisation data cannot be found!"},
    {1102, "Format string too long!"},
    {1104, "Error writing the file QV.ini."},
    {1105, "QV.ini has no unit:"},
    {1106, "qv.ini has a unit entry twice"},
    {1107, "Format Error:\nMaximal number of variables exceeded. "},
    {1108,
     "Format error:\nNo application is assigned to the format string.\n Assign applications before "
     "saving."},
    {1110, "An empty format string cannot be stored in the pool."},
    {1111,
     "Cannot create the string pool manager;\n the string pool is not valid. Perhaps memory "
     "is short."},
    {1112, "*** no template ***"},
    {1113, "Cannot save the format file.\n Error:  %s at (line:%s)"},
    {1114, "Cannot load the format file.\nResult: %s\nError at line: %s"},
    {1115,
     "Load error: for the selected format type the file has more \nformat strings than allowed!"},
    {1116, "Out of memory! \nLoading more format strings than allowed"},
    {1117, "The format string has errors!"},
    {1118, "OK."},
    {1119, "Undefined error."},
    {1120, "Out of memory."},
    {1121, "Object not found."},
    {1122, "File not found."},
    {1123, "Library initialisation failed."},
    {1124, "Library not initialised."},
    {1125, "This function is not implemented; ask for support!"},
    {1126, "Invalid name."},
    {1127, "Invalid data."},
    {1128, "Data truncated"},
    {1129, "Unknown data type"},
    {1130, "Wrong call type!"},
    {1131, "Null pointer!"},
    {1132, "Invalid logical expression"},
    {1133, "File not correct (header)"},
    {1134, "Cannot close the file."},
    {1135, "The file is still open"},
    {1136, "End of file reached"},
    {1137, "Invalid format file!"},
    {1138, "This format file is not valid for this instrument."},
    {1139, "Cannot save the format file!"},
    {1140, "The file exists already!"},
    {1141, "Format string saved to a format file of the older kind"},
    {1142, "Input data incomplete."},
    {1143, "An object is defined twice; objects must be unique."},
    {1144, "Internal buffer overflow."},
    {1145, "Input does not match."},
    {1146, "Error loading the file."},
    {1147, "Fatal internal error; please ask for support!"},
    {1148, "Undefined error (please ask for support!)"},
    {1149,
     "This format string is for another instrument.\n\nSome variables are not valid for the "
     "selected instrument; \n the string cannot be loaded."},
    {1150, "Do you want to replace the string being edited?"},
    {1201, "Invalid format file.\nInvalid instrument name."},
    {1202, "Invalid format file.\nInvalid template name."},
    {1203, "Invalid format file.\nInvalid version or file type."},
    {1205, "Invalid format file.\nInvalid unit at code:"},
    {1206, "Invalid format file.\nInvalid format string at line:"},
    {1207, "Invalid format file.\nInvalid data block type at line:"},
    {1208, "Invalid format file.\nInvalid code at line:"},
    {1209, "Invalid format file.\nMore format strings than the data block allows at line:"},
    {1210, "Invalid format file.\nFormat string too long at line:"},
    {1211, "Invalid format file.\nToo many variables in the format string at line:"},
    {1212, "Invalid format file.\nThe format string has an invalid variable."},
    {1213, "Invalid format file.\nInvalid variable format at line:"},
    {1214, "Invalid format file.\nInvalid or repeated software ID at line:"},
    {1215, "Invalid format file.\nWrong software number \nat line:"},
    {1216, "Invalid format file.\nMore than one header format string at line:"},
    {1250, "Invalid floating-point number"},
    {1251, "Cannot load the string pool."},
    {1252, "\"ComCtl32.Dll V%d.%d found.\n\nUpdate to V4.71 or higher,\nexecute 40comupd.exe.\""},
    {1253, "Output format"},
    {1254, "Input format"},
    {1255, "Input/output format"},
    {1256, "Unknown"},
    {1257, "Current format"},
    {1260,
     "The file's text is not valid GBK but looks like UTF-8.\n"
     "Chinese text will show garbled; save this file in the GBK encoding."},
    {32788, "Preview of the format file's data\nPreview"},
    {32794, "Load a format string from the string pool"},
    {32795, "Save the format string to the string pool"},
    {57344, "Quarvel"},
    {59137, "CAP"},
    {59138, "NUM"},
    {59139, "SCRL"},
    {61446, "No category selected"},
};

constexpr StringTableEntry kMenus[] = {
    {32788, "Output preview..."}, {32794, "Load"},       {32795, "&Save"},
    {32796, "Assign software"},   {32808, "&Defaults"},  {32809, "Format"},
    {32822, "Clear string"},      {32823, "Properties"}, {57600, "&New file\tCtrl+N"},
    {57603, "&Save\tCtrl+S"},     {57604, "Save as…"},   {57607, "Print"},
    {57664, "About..."},
};

static_assert(IsSortedTable(kTable), "the string table must be sorted by id without duplicates");
static_assert(IsSortedTable(kMenus), "the menu table must be sorted by id without duplicates");

}  // namespace

const char* const kEnglishNoDefaultStringText = "No default output string.";

std::span<const StringTableEntry> EnglishTable() {
  return kTable;
}

std::span<const StringTableEntry> EnglishMenus() {
  return kMenus;
}

}  // namespace frt::detail
