#pragma once

// The symbolic keys of every interface text, in declaration order. One key set
// serves every edition of the product, so it also carries keys that only the
// typing edition shows (typing options, shorthand, statistics, privacy text).
//
// The list is written once and expanded into the enumeration and the name
// table, so the two can never drift apart. KEY(name) declares LocKey::name;
// RENAMED_KEY(identifier, "name") is for a key whose name is a C++ keyword.
#define OVREL_LOC_KEYS(KEY, RENAMED_KEY)                                                           \
    KEY(account)                                                                                   \
    KEY(sync)                                                                                      \
    KEY(statistics)                                                                                \
    KEY(autoCorrectErrors)                                                                         \
    KEY(continuousTyping)                                                                          \
    KEY(quickTyping)                                                                               \
    KEY(application)                                                                               \
    KEY(contributeImprovement)                                                                     \
    KEY(shorthand)                                                                                 \
    KEY(shorthandTable)                                                                            \
    KEY(sound)                                                                                     \
    KEY(shortcuts)                                                                                 \
    KEY(autoCorrectWhileTyping)                                                                    \
    KEY(autoCorrectWhileTypingDesc)                                                                \
    KEY(signInToUseAutoCorrect)                                                                    \
    KEY(consonantRuleCorrection)                                                                   \
    KEY(consonantRuleCorrectionDesc)                                                               \
    KEY(launchAtLogin)                                                                             \
    KEY(launchAtLoginDesc)                                                                         \
    KEY(debugLogging)                                                                              \
    KEY(debugLoggingDesc)                                                                          \
    KEY(sendCorrectionPairs)                                                                       \
    KEY(sendCorrectionPairsDesc)                                                                   \
    KEY(toggleSound)                                                                               \
    KEY(toggleSoundDesc)                                                                           \
    KEY(oldStyleTonePlacement)                                                                     \
    KEY(oldStyleTonePlacementDesc)                                                                 \
    KEY(enableContinuousTyping)                                                                    \
    KEY(enableContinuousTypingDesc)                                                                \
    KEY(autoSplitLowercase)                                                                        \
    KEY(autoSplitLowercaseDesc)                                                                    \
    KEY(quickInitials)                                                                             \
    KEY(quickInitialsDesc)                                                                         \
    KEY(quickFinals)                                                                               \
    KEY(quickFinalsDesc)                                                                           \
    KEY(autoAcuteClosedSyllable)                                                                   \
    KEY(autoAcuteClosedSyllableDesc)                                                               \
    KEY(enableShorthand)                                                                           \
    KEY(enableShorthandDesc)                                                                       \
    KEY(shorthandAllowWhenOff)                                                                     \
    KEY(shorthandAllowWhenOffDesc)                                                                 \
    KEY(shorthandKeyToContent)                                                                     \
    KEY(shorthandKeyToContentDesc)                                                                 \
    KEY(typingTab)                                                                                 \
    KEY(autoCorrectTab)                                                                            \
    KEY(advancedTab)                                                                               \
    KEY(toggleVietnamese)                                                                          \
    KEY(toggleContinuousTyping)                                                                    \
    KEY(toggleAutoCorrect)                                                                         \
    KEY(restoreRawKeys)                                                                            \
    KEY(clearTypingState)                                                                          \
    KEY(deleteWord)                                                                                \
    KEY(reapplyVietnamese)                                                                         \
    KEY(newVersionAvailableFormat)                                                                 \
    KEY(updateSection)                                                                             \
    KEY(currentVersionFormat)                                                                      \
    KEY(checkForUpdates)                                                                           \
    KEY(updateChecking)                                                                            \
    KEY(updateUpToDate)                                                                            \
    KEY(updateAvailableFormat)                                                                     \
    KEY(updateCheckFailed)                                                                         \
    KEY(viewWhatsNew)                                                                              \
    KEY(whatsNewTitle)                                                                             \
    KEY(whatsNewVersionFormat)                                                                     \
    KEY(downloadUpdate)                                                                            \
    KEY(updateLater)                                                                               \
    KEY(updateNotifTitleFormat)                                                                    \
    KEY(updateNotifBody)                                                                           \
    KEY(vietnameseLabel)                                                                           \
    KEY(settingsEllipsis)                                                                          \
    KEY(windowTitleSettings)                                                                       \
    KEY(userGuide)                                                                                 \
    KEY(quitOvrel)                                                                                 \
    KEY(loginFailedFormat)                                                                         \
    KEY(loginCodeExchangeFailed)                                                                   \
    KEY(syncStatusSynced)                                                                          \
    KEY(syncStatusConflict)                                                                        \
    KEY(syncStatusNetworkError)                                                                    \
    KEY(telex)                                                                                     \
    KEY(vni)                                                                                       \
    KEY(updateDictionaryNow)                                                                       \
    KEY(pendingPairsCountFormat)                                                                   \
    KEY(view)                                                                                      \
    KEY(deletePendingData)                                                                         \
    KEY(pendingPairsTitle)                                                                         \
    KEY(noPairsYet)                                                                                \
    KEY(close)                                                                                     \
    KEY(logOut)                                                                                    \
    KEY(signInToSyncDesc)                                                                          \
    KEY(signIn)                                                                                    \
    KEY(signInWithGoogle)                                                                          \
    KEY(signInWithDiscord)                                                                         \
    KEY(cloudSync)                                                                                 \
    KEY(syncNow)                                                                                   \
    KEY(configLabel)                                                                               \
    KEY(countWordsAndSpeedSensitive)                                                               \
    KEY(averageTypingSpeed)                                                                        \
    KEY(refreshStats)                                                                              \
    KEY(conflictDescFormat)                                                                        \
    KEY(keepCloud)                                                                                 \
    KEY(keepThisDevice)                                                                            \
    KEY(addRow)                                                                                    \
    KEY(save)                                                                                      \
    RENAMED_KEY(delete_, "delete")                                                                 \
    KEY(hotkeyInstructions)                                                                        \
    KEY(pressAKey)                                                                                 \
    KEY(notAssigned)                                                                               \
    KEY(wordsTypedLabel)                                                                           \
    KEY(autoCorrectStatLabel)                                                                      \
    KEY(ruleBasedCorrection)                                                                       \
    KEY(noName)                                                                                    \
    KEY(keyLabel)                                                                                  \
    KEY(contentLabel)                                                                              \
    KEY(inputMethodLabel)                                                                          \
    KEY(languageLabel)                                                                             \
    KEY(automaticMatchSystem)                                                                      \
    KEY(welcomeTitle)                                                                              \
    KEY(consentIntro)                                                                              \
    KEY(consentAnonymousExplain)                                                                   \
    KEY(consentSignedInExplain)                                                                    \
    KEY(consentToggleCorrectionPairs)                                                              \
    KEY(consentToggleBasicStats)                                                                   \
    KEY(consentToggleWordsAndSpeed)                                                                \
    KEY(agree)                                                                                     \
    KEY(clearDataTitle)                                                                            \
    KEY(clearDataIntro)                                                                            \
    KEY(clearSubmissions)                                                                          \
    KEY(clearSubmissionsDesc)                                                                      \
    KEY(clearStatsToggle)                                                                          \
    KEY(clearStatsToggleDesc)                                                                      \
    KEY(clearSyncToggle)                                                                           \
    KEY(clearSyncToggleDesc)                                                                       \
    KEY(clearAccountToggle)                                                                        \
    KEY(clearAccountToggleDesc)                                                                    \
    KEY(signInRequiredCaption)                                                                     \
    KEY(clearDataTrigger)                                                                          \
    KEY(clearDataConfirmTitle)                                                                     \
    KEY(clearDataConfirmMessage)                                                                   \
    KEY(cancel)                                                                                    \
    KEY(clearDataSuccess)                                                                          \
    KEY(clearDataFailure)                                                                          \
    KEY(privacyTitle)                                                                              \
    KEY(privacyUpdated)                                                                            \
    KEY(privacyIntro)                                                                              \
    KEY(privacyS1Heading)                                                                          \
    KEY(privacyS1Body)                                                                             \
    KEY(privacyS2Heading)                                                                          \
    KEY(privacyS2aHeading)                                                                         \
    KEY(privacyS2aBody)                                                                            \
    KEY(privacyS2bHeading)                                                                         \
    KEY(privacyS2bBody)                                                                            \
    KEY(privacyS3Heading)                                                                          \
    KEY(privacyS3Body)                                                                             \
    KEY(privacyS4Heading)                                                                          \
    KEY(privacyS4Body)                                                                             \
    KEY(privacyS5Heading)                                                                          \
    KEY(privacyS5Body)                                                                             \
    KEY(privacyS6Heading)                                                                          \
    KEY(privacyS6Body)                                                                             \
    KEY(privacyS7Heading)                                                                          \
    KEY(privacyS7Body)                                                                             \
    KEY(privacyS8Heading)                                                                          \
    KEY(privacyS8Body)                                                                             \
    KEY(privacyS9Heading)                                                                          \
    KEY(privacyS9Body)                                                                             \
    KEY(privacyS10Heading)                                                                         \
    KEY(privacyS10Body)                                                                            \
    KEY(privacyPolicyLink)                                                                         \
    KEY(menuBarIcon)                                                                               \
    KEY(statusIconBorder)                                                                          \
    KEY(statusIconBorderDesc)                                                                      \
    KEY(statusIconFilled)                                                                          \
    KEY(statusIconFilledDesc)                                                                      \
    KEY(vniShiftDigitAsMark)                                                                       \
    KEY(vniShiftDigitAsMarkDesc)                                                                   \
    KEY(perAppLangSection)                                                                         \
    KEY(perAppLangToggle)                                                                          \
    KEY(perAppLangToggleDesc)                                                                      \
    KEY(perAppLangConfigure)                                                                       \
    KEY(perAppLangTitle)                                                                           \
    KEY(perAppLangEmpty)                                                                           \
    KEY(perAppLangAddApp)                                                                          \
    KEY(perAppModeRemember)                                                                        \
    KEY(perAppModeAlwaysVN)                                                                        \
    KEY(perAppModeAlwaysEN)                                                                        \
    KEY(personalDictSection)                                                                       \
    KEY(moduleSettingsLabel)                                                                       \
    KEY(sharedAcrossPlatforms)                                                                     \
    KEY(sharedAcrossPlatformsDesc)                                                                 \
    KEY(personalDictEnable)                                                                        \
    KEY(personalDictEnableDesc)                                                                    \
    KEY(personalDictHint)                                                                          \
    KEY(typoLabel)                                                                                 \
    KEY(correctionLabel)                                                                           \
    KEY(enableStats)                                                                               \
    KEY(enableStatsDesc)                                                                           \
    KEY(countWordsAndSpeedDesc)                                                                    \
    KEY(todaySection)                                                                              \
    KEY(typingMinutes)                                                                             \
    KEY(wpmLabel)                                                                                  \
    KEY(enableCountWordsHint)                                                                      \
    KEY(last30Days)                                                                                \
    KEY(onServerSection)                                                                           \
    KEY(menuTodayFormat)                                                                           \
    KEY(menuTodayStatsEllipsis)                                                                    \
    KEY(sessionLostTitle)                                                                          \
    KEY(sessionLostUpgraded)                                                                       \
    KEY(sessionLostMachineChanged)                                                                 \
    KEY(sessionLostRevoked)                                                                        \
    KEY(sessionLostDismiss)                                                                        \
    KEY(appsStore)                                                                                 \
    KEY(settingsGeneral)                                                                           \
    KEY(appsRunInBackground)                                                                       \
    KEY(appsViewInStore)                                                                           \
    KEY(appsModuleBroken)                                                                          \
    KEY(appsAvailableSection)                                                                      \
    KEY(appsInstalledSection)                                                                      \
    KEY(appsInstall)                                                                               \
    KEY(appsInstalling)                                                                            \
    KEY(appsUninstall)                                                                             \
    KEY(appsUpdate)                                                                                \
    KEY(appsUpdateAvailableFormat)                                                                 \
    KEY(appsAutoUpdate)                                                                            \
    KEY(appsAutoUpdateDesc)                                                                        \
    KEY(appsShowInApplications)                                                                    \
    KEY(appsShowInApplicationsDesc)                                                                \
    KEY(appsQuickAccess)                                                                           \
    KEY(appsQuickAccessDesc)                                                                       \
    KEY(appsSignInToInstall)                                                                       \
    KEY(appsNeedsNewerOvrelFormat)                                                                 \
    KEY(appsNeedsMacOSFormat)                                                                      \
    KEY(appsModuleInvalidMacOSFormat)                                                              \
    KEY(appsNoReleaseYet)                                                                          \
    KEY(appsNoneInstalled)                                                                         \
    KEY(appsUninstallConfirmFormat)                                                                \
    KEY(appsUninstallConfirmBody)                                                                  \
    KEY(appsKeepSettings)                                                                          \
    KEY(appsInstallFailedFormat)                                                                   \
    KEY(appsHotkeyTaken)                                                                           \
    KEY(appsHotkeyTakenByFormat)                                                                   \
    KEY(appsCatalogLoadFailed)                                                                     \
    KEY(appsSearchPlaceholder)                                                                     \
    KEY(appsNoSearchResults)                                                                       \
    KEY(appsOpenSettings)                                                                          \
    KEY(appsOpenApp)                                                                               \
    KEY(appsNotInstalled)                                                                          \
    KEY(appsDownloadSizeFormat)                                                                    \
    KEY(appsDownloadProgressFormat)                                                                \
    KEY(appsDownloadingFormat)                                                                     \
    KEY(appsVerifyingDownload)                                                                     \
    KEY(appsUnpacking)                                                                             \
    KEY(appsRetry)                                                                                 \
    KEY(appsBack)                                                                                  \
    KEY(appsCancelDownload)                                                                        \
    KEY(otherBuildTitle)                                                                           \
    KEY(otherBuildBody)                                                                            \
    KEY(revealInFinder)                                                                            \
    KEY(menuLayoutSection)                                                                         \
    KEY(menuLayoutPresentation)                                                                    \
    KEY(menuLayoutList)                                                                            \
    KEY(menuLayoutGrid)                                                                            \
    KEY(menuLayoutRows)                                                                            \
    KEY(menuLayoutColumns)                                                                         \
    KEY(menuLayoutShowMore)                                                                        \
    KEY(permissionsSectionTitle)                                                                   \
    KEY(permissionScreenRecording)                                                                 \
    KEY(permissionAccessibility)                                                                   \
    KEY(permissionInputMonitoring)                                                                 \
    KEY(permissionFullDiskAccess)                                                                  \
    KEY(permissionStatusGranted)                                                                   \
    KEY(permissionStatusDenied)                                                                    \
    KEY(permissionStatusUndetermined)                                                              \
    KEY(permissionsRefreshButton)                                                                  \
    KEY(permissionOpenSettingsButton)                                                              \
    KEY(secureInputTooltip)                                                                        \
    KEY(secureInputMenuItem)                                                                       \
    KEY(secureInputRecovery)                                                                       \
    KEY(secureInputTooltipWithAppFormat)                                                           \
    KEY(secureInputMenuItemWithAppFormat)

namespace ovrel {

enum class LocKey {
#define OVREL_LOC_KEY_ENUMERATOR(name) name,
#define OVREL_LOC_RENAMED_KEY_ENUMERATOR(identifier, name) identifier,
    OVREL_LOC_KEYS(OVREL_LOC_KEY_ENUMERATOR, OVREL_LOC_RENAMED_KEY_ENUMERATOR)
#undef OVREL_LOC_KEY_ENUMERATOR
#undef OVREL_LOC_RENAMED_KEY_ENUMERATOR
};

#define OVREL_LOC_KEY_ONE(...) +1
constexpr int kLocKeyCount = 0 OVREL_LOC_KEYS(OVREL_LOC_KEY_ONE, OVREL_LOC_KEY_ONE);
#undef OVREL_LOC_KEY_ONE

// The key's name as written in the key list ("settingsEllipsis", "delete").
const char* locKeyName(LocKey key);

// The key at a position of the declaration order; `index` must be in
// 0..kLocKeyCount-1.
constexpr LocKey locKeyAt(int index) {
    return static_cast<LocKey>(index);
}

constexpr int locKeyIndex(LocKey key) {
    return static_cast<int>(key);
}

} // namespace ovrel
