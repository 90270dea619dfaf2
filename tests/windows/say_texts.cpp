// Prints the Windows program's words as it reads them from its string
// tables: the Add dialog's title, then the first line of --help.
#include <cstdio>
#include <string>

#include "platform/win32/win32_texts.h"

int main() {
  using namespace kestrafon;
  const TextBook texts = platform::win32::Win32TextBook();
  const std::string usage = texts.Say(UiText::Usage, {"kestrafon"});
  std::printf("%s\n%s\n", texts.Say(UiText::OpenTitle).c_str(), usage.substr(0, usage.find('\n')).c_str());
  return 0;
}
