// Prints FolderNameKey of each line read from standard input, one key a line, for the
// test that compares the keys with Python's own Unicode data (folder_key_oracle.py).

#include <iostream>
#include <string>

#include "form/FolderNames.h"

int main() {
    std::ios::sync_with_stdio(false);
    std::string line;
    while (std::getline(std::cin, line)) {
        std::cout << tavrel::form::FolderNameKey(line) << '\n';
    }
    return std::cout.flush() ? 0 : 1;
}
