#include <algorithm>

#include "audiofile/RecFile.h"

void RecFile::InsertComment(CommentRec rec) {
    comments_.push_back(std::move(rec));
    const size_t n = comments_.size();
    if (n > 1 && comments_[n - 2].start > comments_[n - 1].start)
        std::stable_sort(comments_.begin(), comments_.end(),
                         [](const CommentRec& a, const CommentRec& b) { return a.start < b.start; });
}

void RecFile::AddComment(const std::string& text, uint32_t start, uint32_t end, bool force) {
    if (!force && readOnly_)
        return;
    if (text.empty()) {
        EndComment(GetPosition());
        return;
    }
    if (start == kNoPosition)
        start = GetPosition();
    for (int i = CommentCount() - 1; i >= 0 && comments_[i].start >= start; --i)
        if (comments_[i].start == start)
            comments_.erase(comments_.begin() + i);
    EndComment(start);
    if (end == kNoPosition || end == 0)
        end = NextComment(start);
    InsertComment({start, end, text});
    if (!readOnly_)
        modified_ = true;
}

void RecFile::EndComment(uint32_t position) {
    if (readOnly_)
        return;
    for (int i = CommentCount() - 1; i >= 0; --i) {
        CommentRec& comment = comments_[i];
        if (comment.start < position && (comment.end == 0 || comment.end > position)) {
            comment.end = position;
            modified_ = true;
            return;
        }
        if (comment.end != 0 && comment.end < position)
            return;
    }
}

int RecFile::FirstCommentCovering(uint32_t position) const {
    for (int i = 0; i < CommentCount() && comments_[i].start <= position; ++i)
        if (comments_[i].end == 0 || comments_[i].end > position)
            return i;
    return -1;
}

std::optional<std::string> RecFile::FindComment(uint32_t position) const {
    const int index = FirstCommentCovering(position);
    if (index < 0)
        return std::nullopt;
    return comments_[index].text;
}

uint32_t RecFile::FindCommentByText(const std::string& text) const {
    for (const CommentRec& comment : comments_)
        if (lstrcmpiA(comment.text.c_str(), text.c_str()) == 0)
            return comment.start;
    return kNoPosition;
}

uint32_t RecFile::NextComment(uint32_t position) const {
    if (comments_.empty())
        return 0;
    for (const CommentRec& comment : comments_)
        if (comment.start > position)
            return comment.start;
    return kNoPosition;
}

uint32_t RecFile::PrevComment(uint32_t position) const {
    uint32_t found = 0;
    for (const CommentRec& comment : comments_)
        if (comment.start < position)
            found = comment.start;
    return found;
}

void RecFile::DeleteCommentAt(uint32_t position) {
    if (readOnly_)
        return;
    const int index = FirstCommentCovering(position);
    if (index < 0)
        return;
    comments_.erase(comments_.begin() + index);
    modified_ = true;
}

void RecFile::DeleteComment(int index) {
    if (readOnly_ || index < 0 || index >= CommentCount())
        return;
    comments_.erase(comments_.begin() + index);
    // A deletion the next Update does not write would come back on reopening.
    modified_ = true;
}

uint32_t RecFile::GetCommentStart(int index) const {
    return (index < 0 || index >= CommentCount()) ? 0 : comments_[index].start;
}

uint32_t RecFile::GetCommentEnd(int index) const {
    return (index < 0 || index >= CommentCount()) ? 0 : comments_[index].end;
}

std::string RecFile::GetCommentText(int index) const {
    return (index < 0 || index >= CommentCount()) ? std::string() : comments_[index].text;
}
