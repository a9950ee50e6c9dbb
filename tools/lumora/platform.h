// The few things `lumora` asks of its platform beside sockets.
#pragma once

#include <cstdio>
#include <string>

namespace lumora::cli {

bool IsTerminal(std::FILE* stream);

// Writes UTF-8 `text`: as it is to a file or pipe, and on a Windows console
// as the characters it stands for, whatever the console's code page.
void WriteText(std::FILE* stream, const std::string& text);

// Opens `url` in the desktop's browser (xdg-open; the shell on Windows).
// False with `error` set when it could not be started.
bool OpenInBrowser(const std::string& url, std::string& error);

}  // namespace lumora::cli
