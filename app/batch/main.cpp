// velmark-batch: sort, translate, bookmarks and country lookups from the command line.

#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_commands.h"
#include "batch/batch_options.h"

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    return velmark::batch::RunBatchCommandLine(words, std::cout, std::cerr);
}
