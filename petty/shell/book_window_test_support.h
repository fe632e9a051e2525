#pragma once
// Shared by the tests of the windows that open the book: the paths the main
// window sets, and plain reads and writes of the fixture book.
#include <string>
#include <vector>

#include "petty/shell/program_paths.h"
#include "petty/shell/shell_test_support.h"

namespace petty::testing {

class BookWindowTest : public ShellTest {
protected:
    BookWindowTest() {
        appState().appFolder = withFolderSeparator(folder.path().string());
        appState().businessDbPath = appState().appFolder + std::string(kBookFileName);
    }

    jet::Database book() const { return openBook(bookPath(folder.path())); }
    // Replaces every row of the table by one row per key.
    void fillTable(const std::string& table, const std::string& keyColumn, const std::vector<std::string>& keys) const {
        jet::Database db = book();
        db.execute("DELETE FROM [" + table + "]");
        for (const std::string& key : keys)
            db.execute("INSERT INTO [" + table + "] ([" + keyColumn + "]) VALUES (?)", {key});
    }
    // The first column of a query, as text.
    std::vector<std::string> texts(const std::string& sql) const {
        jet::Database db = book();
        std::vector<std::string> out;
        for (jet::Recordset rows = db.openRecordset(sql); !rows.eof(); rows.moveNext())
            out.push_back(rows.field(size_t{0}).asText());
        return out;
    }
};

// One window of a kind that opens the book, closed without writing when the test ends.
template <class Window>
class BookWindowFormTest : public BookWindowTest {
protected:
    void TearDown() override {
        window.datPrimaryRS.releaseRecordset();
        window.unload();
        BookWindowTest::TearDown();
    }

    Window window;
};

}  // namespace petty::testing
