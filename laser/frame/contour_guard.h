// The guard that commands working on contours run first.
#pragma once

// 0 when the current drawing has a cutting job with at least one contour. Otherwise shows the message box (error
// icon) that contours are to be created first, and answers 1.
int CheckContoursExist();
