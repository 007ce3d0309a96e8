#pragma once
#include "fixed_text.h"

// The header fields of a format file, each a text of fixed capacity.
struct CFrtHeader {
  frt::FixedText<9> type{"@t:FRT"};
  frt::FixedText<9> instrument{"Unknown"};
  frt::FixedText<8> version{"Unknown"};
  frt::FixedText<200> author{"Unknown"};
  frt::FixedText<200> company{"Unknown"};
  frt::FixedText<200> date{"Unknown"};
  frt::FixedText<200> comment{"Unknown"};
  frt::FixedText<200> templateName{"Unknown"};

  friend bool operator==(const CFrtHeader&, const CFrtHeader&) = default;
};
