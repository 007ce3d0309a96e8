#pragma once
#include <string>

class CDocFormat;
class CFormatTemplate;

// The sample export of a whole format: what the instrument would write with it, rendered with
// the sample values. The file header string; then, per export definition of the template in its
// order, every format string of the block with the headers of its applications and of its block
// and its sample line three times, and the block's default string for the applications that
// have no string of their own in the block; then the file footer string. Import strings and
// strings of blocks the template does not define take no part.
//
// Every rendered piece ends with one LF (no CR). A piece that cannot be rendered shows the text
// of its result code in its place. The text holds the format's bytes (GBK).
std::string SampleExport(CDocFormat& format, const CFormatTemplate& formatTemplate);
