// The program's callback of the one library call under way that calls back into the program
// (a search, a DXL export, an activity scan). The library hands its callbacks a context pointer
// of its own keeping; the binding never follows it: calls run on one thread and never nest for
// one kind of callback, so the call under way is the one a callback belongs to, and a callback
// that comes when none is under way reaches nothing.
#pragma once

#include "notes/NotesPlatform.h"

namespace notes::binding {

template <typename Callback>
class ActiveCall {
public:
    ActiveCall(Callback callback, void* context)
        : callback_(callback), context_(context), outer_(Current()) {
        Current() = this;
    }
    ~ActiveCall() { Current() = outer_; }
    ActiveCall(const ActiveCall&) = delete;
    ActiveCall& operator=(const ActiveCall&) = delete;

    // The call under way, or null.
    static ActiveCall* Find() { return Current(); }

    Callback callback() const { return callback_; }
    void* context() const { return context_; }

    // The first status other than 0 the program's callback returned: the library should have
    // stopped there, and a callback after it gets that status again without reaching the program.
    NotesStatus failure() const { return failure_; }
    NotesStatus Keep(NotesStatus status) {
        if (failure_ == 0) failure_ = status;
        return status;
    }

private:
    static ActiveCall*& Current() {
        static ActiveCall* current = nullptr;
        return current;
    }

    Callback callback_;
    void* context_;
    ActiveCall* outer_;
    NotesStatus failure_ = 0;
};

}  // namespace notes::binding
