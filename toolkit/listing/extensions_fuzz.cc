// Fuzzes the extension filter. The input is an extension list, a NUL, then
// names separated by NULs. Every table built must hold what a plain reading
// of the list gives, and every name must be kept exactly when that reading
// says so.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "toolkit/listing/listing_internal.h"

namespace {

// The list split at every ":", each piece without one leading "*" and then
// one leading ".".
std::vector<std::string> Expected(const std::string& list) {
  std::vector<std::string> rows;
  if (list.empty()) return rows;
  size_t start = 0;
  for (;;) {
    size_t colon = list.find(':', start);
    std::string row = list.substr(start, colon == std::string::npos ? std::string::npos
                                                                    : colon - start);
    if (!row.empty() && row[0] == '*') row.erase(0, 1);
    if (!row.empty() && row[0] == '.') row.erase(0, 1);
    rows.push_back(row);
    if (colon == std::string::npos) return rows;
    start = colon + 1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  size_t end = input.find('\0');
  std::string list = input.substr(0, end);

  static char table[255][255];
  int count = tavorin::extension_table(list.c_str(), table);
  if (list.size() > tavorin::kExtensionListMax) {
    if (count != -1) abort();
    return 0;
  }
  std::vector<std::string> rows = Expected(list);
  if (count != static_cast<int>(rows.size())) abort();
  for (int i = 0; i < count; ++i) {
    if (memchr(table[i], '\0', sizeof table[i]) == nullptr || rows[static_cast<size_t>(i)] != table[i]) {
      abort();
    }
  }

  while (end != std::string::npos) {
    size_t start = end + 1;
    end = input.find('\0', start);
    std::string name = input.substr(start, end == std::string::npos ? std::string::npos
                                                                     : end - start);
    bool kept = count == 0;
    size_t dot = name.rfind('.');
    if (dot != std::string::npos) {
      for (const std::string& row : rows) kept = kept || name.compare(dot + 1, std::string::npos, row) == 0;
    }
    if (tavorin::extension_kept(name.c_str(), table, count) != kept) abort();
  }
  return 0;
}
