// Shared between lists.cpp and file_list.cpp: row sorting, cell access and
// the FileList refill with an explicit current row.
#pragma once

#include <string>
#include <string_view>

#include "gadget_internal.h"
#include "layout.h"

inline constexpr int kCompareNumeric = 5;    // SortRows compare type: cells read with Val
inline constexpr int kCompareText = 8;       // SortRows compare type: signed bytes, prefix equal
inline constexpr int kSortAscending = 0;     // SortRows order
inline constexpr int kSortDescending = 1;    // SortRows order

// 1-based cell index of the name column in rows built by a refill; 1 without one.
int FileList_NameCell(const ColumnListRecord& list);
// Clamps the range and column as SortRows does, then sorts rows first .. end - 1.
void List_SortRows(ColumnListRecord& list, int column, int compareType, int order, int first, int end);
// Appends or inserts a row measured with the list's font; keeps rowsHaveImages.
RowRecord& List_InsertRow(const GadgetRecord& gadget, ColumnListRecord& list, int position,
                          const std::string& text, int image);
// A refill whose navigation looks at `currentRow` (-1: no navigation).
void FileList_RefillWithCurrentRow(GadgetRecord& gadget, const std::string& spec, int currentRow);
