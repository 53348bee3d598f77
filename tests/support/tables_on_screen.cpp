#include "tables_on_screen.h"

#include <QComboBox>

#include "join/form2.h"
#include "shell/form1.h"
#include "tables/cell_key.h"

namespace veltrano::testing {

namespace {

void fill(Form2& form2, int fileNumber, const TestFile& file) {
    TableStoreBuilder builder(storedFile(form2.mStore, fileNumber));
    for (const TestTable& table : file) {
        builder.beginTable(table.number);
        for (const auto& row : table.rows) {
            builder.addRow(static_cast<std::int32_t>(row.size()));
            for (const std::string& cell : row) {
                builder.addCell(cell);
            }
        }
        if (builder.endTable()) {
            form2.addTableEntry(fileNumber, QString::fromStdString(tableLabel(table.number)));
        }
    }
    if (form2.tableList(fileNumber)->count() > 0) {
        form2.selectTable(fileNumber, 0);
    }
}

}  // namespace

void showTables(Form1& form1, const TestFile& file1, const TestFile& file2) {
    Form2& form2 = form1.form2();
    form2.clearTableList(1);
    form2.clearTableList(2);
    form2.mStore.replaceAll();
    fill(form2, 1, file1);
    fill(form2, 2, file2);
    form2.show();
    form1.hide();
}

}  // namespace veltrano::testing
