#pragma once
#include <string>
#include <vector>

#include "profile/qv_prof_element.h"

// The default conversion settings of one value kind and direction, one section of QV.ini each.
// Every key is a required whole number, read and written as a plain decimal.
class CQVConversionDefaultBase : public CQVProfElement {
 public:
  const std::string& Section() const { return section_; }

  int Read() override;
  // Reads the keys in their read order; message 1010 when one is missing or out of range.
  int ReadEntries() override;
  int Write() override;
  // Writes the keys in their write order; message 1010 when a write failed.
  int WriteEntries() override;

 protected:
  CQVConversionDefaultBase(const CQVProfContext& context, std::string section);

  struct Key {
    const char* name;
    int* field;
    int check;
    long minimum;
    long maximum;
    int hasException;
    long exception;
  };
  // Registers a key; fields are read in the order of registration unless SetReadOrder says
  // otherwise, and written in the order of registration.
  void AddKey(const char* name, int* field, int check = 0, long minimum = 0, long maximum = 0,
              int hasException = 0, long exception = 0);
  void SetReadOrder(std::vector<const char*> names) { readOrder_ = std::move(names); }
  // Keys left out of the writes (the scanf integer Base is read but never saved).
  void SetUnwritten(const char* name) { unwritten_.push_back(name); }

 private:
  const Key* FindKey(const std::string& name) const;

  std::string section_;
  std::vector<Key> keys_;
  std::vector<const char*> readOrder_;
  std::vector<std::string> unwritten_;
};

// Output (printf-like) defaults: Align (0 right, 1 left) and Length (width, 0 or less: none).
class CQVPrintFDefaultBase : public CQVConversionDefaultBase {
 public:
  int Align() const { return align_; }
  void SetAlign(int v) { align_ = v; }
  int Length() const { return length_; }
  void SetLength(int v) { length_ = v; }

 protected:
  CQVPrintFDefaultBase(const CQVProfContext& context, std::string section);

 private:
  int align_ = 0;
  int length_ = 0;
};

class CQVPrintFDefStrings : public CQVPrintFDefaultBase {
 public:
  explicit CQVPrintFDefStrings(const CQVProfContext& context);
  int Precision() const { return precision_; }
  void SetPrecision(int v) { precision_ = v; }
  int FillCharacter() const { return fillCharacter_; }
  void SetFillCharacter(int v) { fillCharacter_ = v; }

 private:
  int precision_ = 0;
  int fillCharacter_ = 0;
};

class CQVPrintFDefInteger : public CQVPrintFDefaultBase {
 public:
  explicit CQVPrintFDefInteger(const CQVProfContext& context);
  int FillCharacter() const { return fillCharacter_; }
  void SetFillCharacter(int v) { fillCharacter_ = v; }
  int Sign() const { return sign_; }
  void SetSign(int v) { sign_ = v; }
  int Base() const { return base_; }
  void SetBase(int v) { base_ = v; }

 private:
  int fillCharacter_ = 0;
  int sign_ = 0;
  int base_ = 0;
};

class CQVPrintFDefFloat : public CQVPrintFDefaultBase {
 public:
  explicit CQVPrintFDefFloat(const CQVProfContext& context);
  int Precision() const { return precision_; }
  void SetPrecision(int v) { precision_ = v; }
  int FillCharacter() const { return fillCharacter_; }
  void SetFillCharacter(int v) { fillCharacter_ = v; }
  int Representation() const { return representation_; }
  void SetRepresentation(int v) { representation_ = v; }
  int Sign() const { return sign_; }
  void SetSign(int v) { sign_ = v; }
  int AlternateFormat() const { return alternateFormat_; }
  void SetAlternateFormat(int v) { alternateFormat_ = v; }

 private:
  int precision_ = 0;
  int fillCharacter_ = 0;
  int representation_ = 0;
  int sign_ = 0;
  int alternateFormat_ = 0;
};

class CQVPrintFDefChar : public CQVPrintFDefaultBase {
 public:
  explicit CQVPrintFDefChar(const CQVProfContext& context);
};

// Input (scanf-like) defaults: SubpressAssignment (1: read and discard) and Length (1..20, -1
// none).
class CQVScanFDefaultBase : public CQVConversionDefaultBase {
 public:
  int SubpressAssignment() const { return subpressAssignment_; }
  void SetSubpressAssignment(int v) { subpressAssignment_ = v; }
  int Length() const { return length_; }
  void SetLength(int v) { length_ = v; }

 protected:
  CQVScanFDefaultBase(const CQVProfContext& context, std::string section);

 private:
  int subpressAssignment_ = 0;
  int length_ = -1;
};

class CQVScanFDefStrings : public CQVScanFDefaultBase {
 public:
  explicit CQVScanFDefStrings(const CQVProfContext& context);
};

class CQVScanFDefInteger : public CQVScanFDefaultBase {
 public:
  explicit CQVScanFDefInteger(const CQVProfContext& context);
  int Base() const { return base_; }
  void SetBase(int v) { base_ = v; }

 private:
  int base_ = 0;
};

class CQVScanFDefFloat : public CQVScanFDefaultBase {
 public:
  explicit CQVScanFDefFloat(const CQVProfContext& context);
  int Representation() const { return representation_; }
  void SetRepresentation(int v) { representation_ = v; }

 private:
  int representation_ = 0;
};

class CQVScanFDefChar : public CQVScanFDefaultBase {
 public:
  explicit CQVScanFDefChar(const CQVProfContext& context);
};
