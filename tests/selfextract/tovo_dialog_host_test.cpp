// The in-memory main dialog: the list-box operations the archive walk relies on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Dialog.h"

namespace {

// Runs body inside the POSIX main dialog and ends it.
template <typename Body>
int WithDialog(Body body) {
    static Body* current;
    current = &body;
    os::MainDialogProcedure procedure = {[](os::DialogHost& host) {
                                             (*current)(host);
                                             host.End(7);
                                         },
                                         [](os::DialogHost&, int) {}};
    return os::RunMainDialog(procedure);
}

TEST(MemoryDialog, SortedListWithExactSearchThatWraps) {
    const int result = WithDialog([](os::DialogHost& d) {
        for (const char* name : {"b.txt", "A.txt", "c/", "a.TXT", "B.txt", "A.txt"}) {
            d.ListAdd(IdFileList, name);
        }
        ASSERT_EQ(d.ListCount(IdFileList), 6);
        // Sorted without regard to case; equal names keep the order they came in:
        // A.txt a.TXT A.txt b.txt B.txt c/. POSIX file names differ by case, so the
        // search matches case.
        EXPECT_EQ(d.ListFindExact(IdFileList, -1, "A.txt"), 0);
        EXPECT_EQ(d.ListFindExact(IdFileList, 0, "A.txt"), 2);
        EXPECT_EQ(d.ListFindExact(IdFileList, 2, "A.txt"), 0);  // wraps to the top
        EXPECT_EQ(d.ListFindExact(IdFileList, 4, "a.TXT"), 1);
        EXPECT_EQ(d.ListFindExact(IdFileList, -1, "B.txt"), 4);
        EXPECT_EQ(d.ListFindExact(IdFileList, -1, "c/"), 5);
        EXPECT_EQ(d.ListFindExact(IdFileList, -1, "a.txt"), -1);
        EXPECT_EQ(d.ListSelected(IdFileList, -1), -1);
        d.ListSelect(IdFileList, -1, true);
        EXPECT_EQ(d.ListSelectedCount(IdFileList), 6);
        d.ListSelect(IdFileList, 2, false);
        EXPECT_EQ(d.ListSelected(IdFileList, 2), 0);
        EXPECT_EQ(d.ListSelectedCount(IdFileList), 5);
        d.ListReset(IdFileList);
        EXPECT_EQ(d.ListCount(IdFileList), 0);
    });
    EXPECT_EQ(result, 7);
}

TEST(MemoryDialog, IsSelectedWalksDuplicateNamesInTurn) {
    // Two entries of the same name are two list items; the search after the current
    // index finds the second for the second entry.
    WithDialog([](os::DialogHost& d) {
        d.ListAdd(IdFileList, "same");
        d.ListAdd(IdFileList, "same");
        d.ListSelect(IdFileList, -1, true);
        CurrentIndex = -1;
        ASSERT_TRUE(IsSelected(d, IdFileList, "same"));
        EXPECT_EQ(CurrentIndex, 0);
        d.ListSelect(IdFileList, CurrentIndex, false);
        ASSERT_TRUE(IsSelected(d, IdFileList, "same"));
        EXPECT_EQ(CurrentIndex, 1);
        EXPECT_FALSE(IsSelected(d, IdFileList, "other"));
        EXPECT_EQ(CurrentIndex, -1);
    });
}

TEST(MemoryDialog, DestroyedControlsAreGoneAndRadioButtonsExclusive) {
    WithDialog([](os::DialogHost& d) {
        d.CheckRadio(IdOverwrite, IdConfirm, IdDontOverwrite);
        EXPECT_TRUE(d.IsChecked(IdDontOverwrite));
        d.CheckRadio(IdOverwrite, IdConfirm, IdConfirm);
        EXPECT_FALSE(d.IsChecked(IdDontOverwrite));
        EXPECT_TRUE(d.IsChecked(IdConfirm));
        d.Destroy(IdConfirm);
        EXPECT_FALSE(d.IsChecked(IdConfirm));
        d.SetText(IdFolderEdit, "/some/where");
        char text[8];
        d.GetText(IdFolderEdit, text, sizeof text);
        EXPECT_STREQ(text, "/some/w");
    });
}

}  // namespace
