#pragma once

// Resource numbers shared by velmora.rc and the code; the program icon comes first, so that the shell
// shows it for the file.
#define kProgramIconId 1
#define kBadIconId 11
#define kCorrectedIconId 12
#define kGoodIconId 13
#define kBannerPictureId 21
#define kAboutLogoPictureId 22
#define kAboutPortraitPictureId 23
