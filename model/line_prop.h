/// \file
/// CLineProp, one line of a sheet.
#pragma once

#include "framework/core/cstring.h"
#include "framework/core/object.h"
#include "framework/core/wintypes.h"

/// One line of a sheet. There is no cell object: the texts of all cells
/// of the line are its one tab-separated `text`, field c being the cell in column c.
///
/// A sheet may hold a million of these, so the record is kept to a virtual table
/// pointer, one string pointer and the host's data word (24 bytes); an empty text
/// allocates nothing.
class TQ3VIEW_API CLineProp : public CObject {
    DECLARE_DYNAMIC(CLineProp)

public:
    CLineProp() noexcept = default;
    ~CLineProp() override = default;

    /// Copies `text` and `data`. Throws std::bad_alloc and then leaves this record
    /// as it was.
    CLineProp& operator=(const CLineProp& other);

    /// A copy of the line's text.
    CString GetText() const { return text; }
    /// Replaces the text; FALSE, with the text unchanged, when memory runs out.
    BOOL SetText(LPCWSTR newText) noexcept;
    /// The host's data word.
    DWORD GetData() const noexcept { return data; }
    /// Sets the host's data word, which the view never reads.
    void SetData(DWORD newData) noexcept { data = newData; }

    CString text;   ///< the cells' texts, tab-separated
    DWORD data = 0; ///< the host's word
};
