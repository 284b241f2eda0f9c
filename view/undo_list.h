/// \file
/// CUndoList, the view's undo buffer.
#pragma once

#include "framework/core/lists.h"

/// The view's undo buffer, a list of the host's undo entries. The view
/// neither adds nor carries out entries; a host that offers undo derives its own
/// entry classes from CObject and puts them at the tail, newest last. The list
/// deletes nothing when it is destroyed: the view's RemoveUndoBuffer deletes them.
class TQ3VIEW_API CUndoList : public CObList {
    DECLARE_DYNAMIC(CUndoList)

public:
    /// An empty buffer (growing in blocks of 10 entries).
    CUndoList() : CObList(10) {}
    ~CUndoList() override = default;
};
