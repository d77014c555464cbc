#include "show_message.h"

#include "frontend/product_profile.h"

int ShowMessage(const char *text, UINT style) {
  return MessageBoxA(nullptr, text, Profile().Caption, style | MB_TOPMOST);
}
