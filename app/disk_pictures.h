// Pictures that arrive from outside the editor: files dropped on the window,
// and part images another program changed on disk.
#pragma once

// ---------------------------------------------------------------- dropped files (every frame)
void TakeDroppedPictures();  // PNG files join the open design's image list, copied in when from elsewhere

// ---------------------------------------------------------------- changed part images (every frame)
void FollowChangedPictures(); // pictures of the open design rewritten on disk are shown anew
void ResetChangedPictures();  // nothing watched
