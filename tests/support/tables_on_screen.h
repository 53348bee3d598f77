#pragma once

#include <string>
#include <vector>

namespace veltrano {
class Form1;
}

namespace veltrano::testing {

// A table as the extraction would find it: its number and its rows of td texts.
struct TestTable {
    int number;
    std::vector<std::vector<std::string>> rows;
};
using TestFile = std::vector<TestTable>;

// Does what "Next >" does after reading both files, from tables given here: fills the join
// setup window's store through the builder, lists the listed tables, selects the first of
// each file, shows the join setup window and hides the main window.
void showTables(Form1& form1, const TestFile& file1, const TestFile& file2);

}  // namespace veltrano::testing
