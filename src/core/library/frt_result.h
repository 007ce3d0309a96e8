#pragma once
// Result codes of the format-file library. 1 is success; the text of code n is string 1118 + n.

namespace frt {

using Result = unsigned;

inline constexpr Result kEnded = 0;          // input engine: the input has ended
inline constexpr Result kOk = 1;
inline constexpr Result kOutOfMemory = 2;    // list full, element not added
inline constexpr Result kNotFound = 3;       // search found nothing, index out of range
inline constexpr Result kFileNotFound = 4;   // cannot open for reading
inline constexpr Result kInitFailed = 5;
inline constexpr Result kNotAttached = 6;    // parse state without format
inline constexpr Result kNotImplemented = 7;
inline constexpr Result kBadName = 8;
inline constexpr Result kBadData = 9;
inline constexpr Result kTruncated = 10;
inline constexpr Result kUnknownType = 11;   // variant, data type, unit type number
inline constexpr Result kWrongType = 12;     // value source answered another data type
inline constexpr Result kNullPointer = 13;
inline constexpr Result kBadExpression = 14;
inline constexpr Result kBadHeader = 15;     // end of file or read error while reading
inline constexpr Result kCannotClose = 16;
inline constexpr Result kStillOpen = 17;
inline constexpr Result kEndOfFile = 18;
inline constexpr Result kBadFormatFile = 19; // malformed line, wrong variant, bad direction
inline constexpr Result kWrongInstrument = 20;  // body line before the @i line
inline constexpr Result kCannotSave = 21;    // cannot create, or a write failed
inline constexpr Result kFileExists = 22;
inline constexpr Result kOlderVariant = 23;  // older variant cannot hold a block or application
inline constexpr Result kIncompleteInput = 24;
inline constexpr Result kDuplicate = 25;     // application assigned twice
inline constexpr Result kBufferOverflow = 26;
inline constexpr Result kInputMismatch = 27;
inline constexpr Result kLoadError = 28;     // file incomplete after the body
inline constexpr Result kFatal = 29;         // empty file or size unknown
inline constexpr Result kMissingUnits = 30;
inline constexpr Result kMissingScales = 31;
inline constexpr Result kMissingDefaults = 32;
inline constexpr Result kNoDefaultString = 100;  // renderer: no value and no default string

}  // namespace frt
