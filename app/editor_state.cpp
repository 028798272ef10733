#include "editor_state.h"

EditorState editor;
