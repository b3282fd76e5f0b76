#pragma once
// Names for the language-text indices the program reads. The wording lives in the .lng files.
#include <array>

namespace vaultwing::lang {

inline constexpr int kHeader = 0;
inline constexpr int kLanguageWindowCaption = 2; // also the settings menu item "languages"
inline constexpr int kMenuManual = 4;
inline constexpr int kMenuLiveUpdate = 6;
inline constexpr int kManualFile = 8;      // the manual's file name in the documents folder
inline constexpr int kManualNotShown = 10; // no program could show it

inline constexpr int kPasswordRefused = 100;
inline constexpr int kOutputExists = 110;     // "this file already exists:"
inline constexpr int kOutputExistsHint = 112; // what to do about it
inline constexpr int kPasswordTitle = 118;
inline constexpr int kDeleteModeOn = 120;  // sources will be destroyed
inline constexpr int kDeleteModeOff = 122; // sources stay
inline constexpr int kMarquee = 150;

inline constexpr int kProgressEncrypt = 200;
inline constexpr int kProgressDecrypt = 202;
inline constexpr int kProgressCancel = 204; // the progress window's Cancel button
inline constexpr int kMenuSettings = 206;
inline constexpr int kMenuFavourites = 208;
inline constexpr int kMenuFavouritesDecrypt = 210;
inline constexpr int kMenuFavouritesEncrypt = 212;
inline constexpr int kMenuAbout = 214;
inline constexpr int kMenuExit = 216;

inline constexpr int kKeyCaption = 320;
inline constexpr int kKeyQualityInitial = 322;
inline constexpr int kKeyQualityPrefix = 324;
inline constexpr int kKeyLabel = 326;
inline constexpr int kKeyRepeatLabel = 328;
inline constexpr int kKeyHint = 330;
inline constexpr int kKeyOkEncrypt = 332;
inline constexpr int kKeyOkDecrypt = 334;
inline constexpr int kKeyMismatch = 336;
inline constexpr int kKeyMessageTitle = 338;
inline constexpr int kCapsLockOn = 340;
inline constexpr int kCapsLockOff = 342;
inline constexpr int kRevealTip = 344; // the password dialogs' "A" button
inline constexpr int kKeyDirectCaption = 350;
inline constexpr int kKeyDirectEmpty = 352;

// The command line's own prompts.
inline constexpr int kCliPasswordPrompt = 360;
inline constexpr int kCliRepeatPrompt = 362;

inline constexpr int kSettingsCaption = 400;
inline constexpr int kSettingsDelete = 401;
inline constexpr int kSettingsRegister = 402;
inline constexpr int kSettingsHotRegion = 404;
inline constexpr int kSettingsSendTo = 405;
inline constexpr int kSettingsTransparency = 406;
inline constexpr int kSettingsOk = 408;
inline constexpr int kSettingsHotRegionCaption = 410;
inline constexpr int kEdgeOff = 412;
inline constexpr int kEdgeOn = 414;
inline constexpr int kSettingsHint = 416;
inline constexpr int kWarningTitle = 418;

inline constexpr int kFavouritesCaption = 500;
inline constexpr int kFavouritesMenu = 502;
inline constexpr int kFavouritesRelative = 504;
inline constexpr int kFavouritesDelete = 506;
inline constexpr int kRootMismatch = 508;
inline constexpr int kAlreadyFavourite = 510;
inline constexpr int kNothingToDecrypt = 512;
inline constexpr int kNothingToEncrypt = 514;
inline constexpr int kPathAboveBase = 516;
inline constexpr int kNotRelativeToProgramFolder = 518; // where there are no drives
inline constexpr int kFavouritesUnreadable = 520;
inline constexpr int kFavouritesEmptyHint = 522;

inline constexpr int kWrongPassword = 600; // or a damaged file
inline constexpr int kSourceMissing = 602; // missing or empty source
inline constexpr int kFileInUse = 604;
inline constexpr int kFileEmpty = 606;
inline constexpr int kFileTooLarge = 608;
inline constexpr int kRunCancelled = 610;
inline constexpr int kVerifyFailed = 612;

inline constexpr int kTipLiveUpdate = 700;
inline constexpr int kTipContact = 702;
inline constexpr int kTipWebsite = 704;
inline constexpr int kDownloadFailed = 708;
inline constexpr int kUpdateTitle = 710;
inline constexpr int kUpdateOffered = 712;
inline constexpr int kUpdateQuestion = 714;
inline constexpr int kNoNewerVersion = 716;

// Every index above: each shipped language file must give all of them a text.
inline constexpr std::array kAllIndices = {kHeader,
                                           kLanguageWindowCaption,
                                           kMenuManual,
                                           kMenuLiveUpdate,
                                           kManualFile,
                                           kManualNotShown,
                                           kPasswordRefused,
                                           kOutputExists,
                                           kOutputExistsHint,
                                           kPasswordTitle,
                                           kDeleteModeOn,
                                           kDeleteModeOff,
                                           kMarquee,
                                           kProgressEncrypt,
                                           kProgressDecrypt,
                                           kProgressCancel,
                                           kMenuSettings,
                                           kMenuFavourites,
                                           kMenuFavouritesDecrypt,
                                           kMenuFavouritesEncrypt,
                                           kMenuAbout,
                                           kMenuExit,
                                           kKeyCaption,
                                           kKeyQualityInitial,
                                           kKeyQualityPrefix,
                                           kKeyLabel,
                                           kKeyRepeatLabel,
                                           kKeyHint,
                                           kKeyOkEncrypt,
                                           kKeyOkDecrypt,
                                           kKeyMismatch,
                                           kKeyMessageTitle,
                                           kCapsLockOn,
                                           kCapsLockOff,
                                           kRevealTip,
                                           kKeyDirectCaption,
                                           kKeyDirectEmpty,
                                           kCliPasswordPrompt,
                                           kCliRepeatPrompt,
                                           kSettingsCaption,
                                           kSettingsDelete,
                                           kSettingsRegister,
                                           kSettingsHotRegion,
                                           kSettingsSendTo,
                                           kSettingsTransparency,
                                           kSettingsOk,
                                           kSettingsHotRegionCaption,
                                           kEdgeOff,
                                           kEdgeOn,
                                           kSettingsHint,
                                           kWarningTitle,
                                           kFavouritesCaption,
                                           kFavouritesMenu,
                                           kFavouritesRelative,
                                           kFavouritesDelete,
                                           kRootMismatch,
                                           kAlreadyFavourite,
                                           kNothingToDecrypt,
                                           kNothingToEncrypt,
                                           kPathAboveBase,
                                           kNotRelativeToProgramFolder,
                                           kFavouritesUnreadable,
                                           kFavouritesEmptyHint,
                                           kWrongPassword,
                                           kSourceMissing,
                                           kFileInUse,
                                           kFileEmpty,
                                           kFileTooLarge,
                                           kRunCancelled,
                                           kVerifyFailed,
                                           kTipLiveUpdate,
                                           kTipContact,
                                           kTipWebsite,
                                           kDownloadFailed,
                                           kUpdateTitle,
                                           kUpdateOffered,
                                           kUpdateQuestion,
                                           kNoNewerVersion};

} // namespace vaultwing::lang
