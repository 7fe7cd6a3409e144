// The resource owners of win/: what they close, and what they must not.
#include <gtest/gtest.h>

#include "win/Gdi.h"
#include "win/Handles.h"

namespace {

bool IsOpenHandle(HANDLE h) {
  DWORD flags = 0;
  return GetHandleInformation(h, &flags) != FALSE;
}

TEST(WinRaii, HandleOwnerClosesOnceAndKeepsWhatItIsHandedAgain) {
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  {
    win::UniqueHandle owner(event);
    owner.Reset(event);  // the same handle again: still open
    EXPECT_TRUE(IsOpenHandle(event));
    win::UniqueHandle moved(std::move(owner));
    EXPECT_FALSE(owner);
    EXPECT_EQ(moved.Get(), event);
  }
  EXPECT_FALSE(IsOpenHandle(event));

  // A failed CreateFile is no handle at all.
  win::UniqueHandle none(INVALID_HANDLE_VALUE);
  EXPECT_FALSE(none);
  EXPECT_TRUE(none.Close());
  win::UniqueHandle file(CreateFileA("NUL", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(file);
  EXPECT_TRUE(file.Close());
  EXPECT_FALSE(file);
}

TEST(WinRaii, GlobalMemoryIsFreedUnlessHandedOverOrTakenAgain) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 16);
  win::GlobalMemory owner(block);
  owner.Reset(block);  // a dialog that hands back the block it was given
  EXPECT_NE(GlobalSize(block), 0u);
  {
    win::GlobalLockScope locked(owner.Get());
    ASSERT_NE(locked.Get(), nullptr);
  }
  EXPECT_EQ(GlobalFlags(block) & GMEM_LOCKCOUNT, 0u);
  EXPECT_EQ(owner.Release(), block);
  EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(WinRaii, RegistryKeyThatCannotOpenStaysEmpty) {
  win::RegKey key;
  EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, "Software\\VANTO-RaiiTest\\missing"));
  EXPECT_FALSE(key);
  ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, "Software\\VANTO-RaiiTest"));
  key.Close();
  EXPECT_TRUE(key.Open(HKEY_CURRENT_USER, "Software\\VANTO-RaiiTest"));
  key.Close();
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VANTO-RaiiTest");
}

TEST(WinRaii, ClipboardSessionWaitsForAnotherHolderAndClosesItsOwn) {
  {
    win::ClipboardSession held(nullptr);
    ASSERT_TRUE(held.IsOpen());
  }
  win::ClipboardSession again(nullptr, 1);
  EXPECT_TRUE(again.IsOpen());  // the first session closed it
}

TEST(WinRaii, CreatedDCIsDeletedAndAWindowDCReleased) {
  HDC raw = nullptr;
  {
    win::CreatedDC dc(CreateCompatibleDC(nullptr));
    raw = dc;
    win::CreatedDC moved(std::move(dc));
    EXPECT_FALSE(dc);
    EXPECT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_MEMDC));
  }
  EXPECT_EQ(GetObjectType(raw), 0u);
  win::WindowDC screen(nullptr);
  EXPECT_NE(GetDeviceCaps(screen, HORZRES), 0);
}

}  // namespace
