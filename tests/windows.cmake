# Test files the Windows build leaves out, each for what it needs of POSIX.
# Their subjects are tested on Linux; the Windows sides of files and folders
# have tests of their own (*_windows_test.cpp, left out of the other builds).
set(dir ${CMAKE_CURRENT_SOURCE_DIR})
set(KEELWRIGHT_POSIX_ONLY_TESTS
  # Run code in a child process (fork) to see a crash or a limit end it.
  ${dir}/app/design_verbs_test.cpp
  ${dir}/app/foreign_design_test.cpp
  ${dir}/designs/prototype_file_test.cpp
  ${dir}/services/file_test.cpp
  ${dir}/services/png_test.cpp
  # Several processes saving at once (fork, waitpid).
  ${dir}/designs/concurrent_saves_test.cpp
  # A signal raised with std::raise and a watchdog alarm (Ctrl+C reaches the
  # Windows side through the console, which a test cannot press).
  ${dir}/app/frame_loop_test.cpp
  # Run the media and sample generators through a POSIX shell's command line
  # (scripts/windows.sh compares what the Windows build generates with the
  # Linux build's, byte for byte).
  ${dir}/app/media_test.cpp
  ${dir}/app/sample_test.cpp
  # Resource limits (setrlimit).
  ${dir}/designs/ship_pictures_test.cpp
  # FIFOs standing in for files (mkfifo).
  ${dir}/format/design_folder_test.cpp
  # Folders made unwritable for the user (geteuid: root writes anyway).
  ${dir}/app/unwritable_workspace_test.cpp
  ${dir}/toolkit/file_list_test.cpp
)

# Cases in the files Windows does build that cannot pass there, as
# GoogleTest names; scripts/windows.sh leaves them out under Wine.
set(KEELWRIGHT_POSIX_ONLY_CASES
  # A "\" in a folder name is a letter on POSIX and a separator on Windows.
  Workspace.ABackslashInItsPathIsPartOfTheName
  # Symbolic links: Windows lets only administrators (or developer mode) make
  # them, and Wine makes none.
  DiskChanges.ACopyTakesOnlyAFreeNameAndNeverFollowsALink
  DesignFoldersTest.NewFolderTakesOneMoreThanTheLargestNumber
  LoadPanel.NewTakesTheNextNumberThatReallyBecomesAFolder
  ExchangeVerbs.ExportRefusesWhatIsNoDesign
  # Names of bytes that are no UTF-8, or hold control characters: a Windows
  # name is UTF-16 text, and control characters are refused in it.
  CheckOutput.EveryJsonLineIsValidUtf8AndKeepsTheBytesOfItsFile
  CheckOutput.PlainLinesShowNoControlCharacterRaw
  ExchangeVerbs.NamesThatAreNoUtf8TravelAsTheirBytes
  # std::raise delivers a POSIX signal; Windows asks a program to stop through
  # its console or the session's end, which a test cannot send.
  UnsavedWork.SigtermWithUnsavedEditsWritesTheRecoveredFile
  UnsavedWork.SigtermWithNothingUnsavedWritesNothing
  # Windows refuses to remove a folder that is a program's current folder.
  Startup.RefusesWhenTheCurrentDirectoryIsGone
  # Wine refuses to remove a folder while the program watches one inside it
  # (the open design's).
  LoadPanel.NewWithoutAFolderShowsNoDesign
)

# MinGW-w64 offers localtime_r and gmtime_r when asked.
add_compile_definitions(_POSIX_THREAD_SAFE_FUNCTIONS=200112L)
