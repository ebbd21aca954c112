// Recording categories: each is an empty marker file "<name>.CAT" in the
// default directory. The category dialog lists, creates and deletes them;
// a recording finished under a category is named after it.
#pragma once

#include <string>
#include <vector>

// The longest category name taken.
constexpr size_t kMaxCategoryChars = 200;

// A category name must make one plain file name inside the folder: not
// empty, none of \ / : * ? " < > | or control characters, no leading '.',
// not a device name (CON, NUL, COM1, ...), at most 200 characters.
bool IsValidCategoryName(const std::string& name);

// directory + '\' (when missing) + name + ".CAT".
std::string CategoryMarkerPath(const std::string& directory, const std::string& name);

// The categories of the folder in the order the system lists them: each
// marker file's name up to its first '.'.
std::vector<std::string> ListCategories(const std::string& directory);

enum class CategoryOutcome {
    Existing,      // the marker was there already
    Created,       // a new marker was made
    InvalidName,   // refused by IsValidCategoryName
    CannotCreate,  // the system refused the file
};
// Makes sure the category's marker exists.
CategoryOutcome EnsureCategory(const std::string& directory, const std::string& name);

enum class DeleteOutcome { Deleted, NoSuchCategory, CannotDelete };
// Removes the marker; an invalid name is never looked up.
DeleteOutcome DeleteCategory(const std::string& directory, const std::string& name);
