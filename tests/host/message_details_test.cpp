#include "msglog/message_details.h"

#include <gtest/gtest.h>

#include <string>

namespace qm {
namespace {

MessageRecord Message(uint32_t message, uint64_t wParam, uint64_t lParam, MessageKind kind = MessageKind::Sent) {
  MessageRecord record;
  record.message = message;
  record.wParam = wParam;
  record.lParam = lParam;
  record.kind = kind;
  return record;
}

MessageRecord WithText(MessageRecord record, const std::u16string& text) {
  SetRecordText(record, text.data(), text.size());
  return record;
}

struct DetailCase {
  MessageRecord record;
  const char* details;
};

TEST(MessageDetails, ParametersDecodeToText) {
  const DetailCase cases[] = {
      // WM_SIZE, WM_MOVE: signed positions, unsigned sizes.
      {Message(0x0005, 2, 0x01E00280), "SIZE_MAXIMIZED, ancho=640, alto=480"},
      {Message(0x0003, 0, 0xFFF6FFEC), "x=-20, y=-10"},
      // Mouse: client point and keys; the wheel's delta and screen point.
      {Message(0x0201, 0x0009, 0x00140010), "x=16, y=20, teclas=MK_LBUTTON | MK_CONTROL"},
      {Message(0x0200, 0, 0x00020001), "x=1, y=2, teclas=ninguna"},
      {Message(0x020A, 0xFF880000, 0x01000200), "delta=-120, x=512, y=256 (pantalla), teclas=ninguna"},
      {Message(0x020B, 0x00020020, 0), "x=0, y=0, teclas=MK_XBUTTON1, botón=XBUTTON2"},
      // Keys: name, repeat count and the bits of lParam.
      {Message(0x0100, 0x0D, 0x001C0001), "tecla=VK_RETURN, repetición=1, escaneo=0x1C"},
      {Message(0x0100, 0x41, 0x401E0003), "tecla=A, repetición=3, escaneo=0x1E, ya pulsada"},
      {Message(0x0101, 0x25, 0xC14B0001), "tecla=VK_LEFT, repetición=1, escaneo=0x4B, extendida, ya pulsada, soltada"},
      {Message(0x0102, 0x00F1, 0x00270001), "carácter='ñ' (U+00F1), repetición=1, escaneo=0x27"},
      {Message(0x0102, 0x0008, 0x000E0001), "carácter=U+0008, repetición=1, escaneo=0x0E"},
      {Message(0x0104, 0x73, 0x203E0001), "tecla=VK_F4, repetición=1, escaneo=0x3E, ALT"},
      // Focus, timers, colours.
      {Message(0x0007, 0x1234, 0), "pierde=0x00001234"},
      {Message(0x0008, 0x7FFF12345678, 0), "recibe=0x7fff12345678"},
      {Message(0x0113, 7, 0), "ID=7"},
      {Message(0x0113, 1, 0x401000), "ID=1, función=0x00401000"},
      {Message(0x0138, 0x0A01, 0x0B02), "HDC=0x00000a01, control=0x00000b02"},
      {Message(0x0006, 0x00010002, 0x99), "WA_CLICKACTIVE, minimizada, otra=0x00000099"},
      {Message(0x0018, 0, 1), "ocultar, SW_PARENTCLOSING"},
      {Message(0x0018, 1, 0), "mostrar"},
      // WM_GETTEXT asks with a buffer and returns the text.
      {Message(0x000D, 512, 0x12FF00), "búfer=512 caracteres"},
      {WithText(Message(0x000D, 512, 0x12FF00, MessageKind::Returned), u"Hola"), "texto=\"Hola\""},
      {WithText(Message(0x000C, 0, 0x12FF00), u"Título nuevo"), "texto=\"Título nuevo\""},
      // A message without a decoder has no details.
      {Message(0x000F, 0, 0), ""},
      {Message(0xC123, 1, 2), ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MessageDetails(c.record), c.details) << std::hex << "message 0x" << c.record.message;
}

TEST(MessageDetails, ATextCutByTheHookSaysSo) {
  const std::u16string longTitle(300, u'a');
  const auto record = WithText(Message(0x000C, 0, 1), longTitle);
  const std::string details = MessageDetails(record);
  EXPECT_EQ(details, "texto=\"" + std::string(kRecordTextChars, 'a') + "\"…");
  // A damaged length never reads past the record's text.
  MessageRecord damaged = record;
  damaged.textLength = 0xFFFF;
  damaged.fields = kFieldText;
  EXPECT_EQ(MessageDetails(damaged), "texto=\"" + std::string(kRecordTextChars, 'a') + "\"");
}

TEST(MessageDetails, CommandsNameTheirCodeByTheControlsClass) {
  auto click = Message(0x0111, 0x00000001, 0x0C0DE);
  click.controlClass = ControlClass::Button;
  EXPECT_EQ(MessageDetails(click), "ID=1, código=BN_CLICKED, control=0x0000c0de");
  auto change = Message(0x0111, 0x03000065, 0x0C0DE);
  change.controlClass = ControlClass::Edit;
  EXPECT_EQ(MessageDetails(change), "ID=101, código=EN_CHANGE, control=0x0000c0de");
  change.controlClass = ControlClass::Other;
  EXPECT_EQ(MessageDetails(change), "ID=101, código=0x0300, control=0x0000c0de");
  EXPECT_EQ(MessageDetails(Message(0x0111, 0x0000E100, 0)), "ID=57600, menú");
  EXPECT_EQ(MessageDetails(Message(0x0111, 0x0001E100, 0)), "ID=57600, acelerador");
}

TEST(MessageDetails, NotificationsUseTheHeaderTheHookCopied) {
  auto notify = Message(0x004E, 1001, 0x12FE00);
  EXPECT_EQ(MessageDetails(notify), "ID=1001");  // no header copied: the pointer is not followed
  notify.fields = kFieldNotifyHeader;
  notify.notifyCode = static_cast<uint32_t>(-101);
  notify.notifyId = 1001;
  notify.notifyFrom = 0x20A4;
  EXPECT_EQ(MessageDetails(notify), "código=LVN_ITEMCHANGED, ID=1001, control=0x000020a4");
  notify.notifyCode = static_cast<uint32_t>(-9999);
  EXPECT_EQ(MessageDetails(notify), "código=-9999, ID=1001, control=0x000020a4");
}

TEST(MessageDetails, WindowPositionsShowTheRectangleFlagsAndZOrder) {
  auto pos = Message(0x0046, 0, 0x12FF00);
  EXPECT_EQ(MessageDetails(pos), "");
  pos.fields = kFieldWindowPos;
  pos.posX = -8;
  pos.posY = 10;
  pos.posWidth = 300;
  pos.posHeight = 200;
  pos.swpFlags = 0x0001 | 0x0004 | 0x0010;
  EXPECT_EQ(MessageDetails(pos), "x=-8, y=10, cx=300, cy=200, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE");
  pos.message = 0x0047;
  pos.swpFlags = 0x0002 | 0x8000;  // a bit the headers do not name
  pos.insertAfter = static_cast<uint64_t>(-1);
  EXPECT_EQ(MessageDetails(pos), "x=-8, y=10, cx=300, cy=200, SWP_NOMOVE | 0x8000, detrás de HWND_TOPMOST");
  pos.insertAfter = 0x30C2;
  pos.swpFlags = 0;
  EXPECT_EQ(MessageDetails(pos), "x=-8, y=10, cx=300, cy=200, 0, detrás de 0x000030c2");
}

TEST(MessageDetails, StyleChangesNameTheStylesOfTheWindowsClass) {
  auto change = Message(0x007D, static_cast<uint32_t>(-16), 0x12FF00);
  EXPECT_EQ(MessageDetails(change), "GWL_STYLE");
  change.fields = kFieldStyles;
  change.oldStyle = 0x50000000;  // WS_CHILD | WS_VISIBLE
  change.newStyle = 0x58000000;  // and WS_DISABLED
  const std::string window = MessageDetails(change);
  EXPECT_NE(window.find("antes=0x50000000 ("), std::string::npos) << window;
  EXPECT_NE(window.find("después=0x58000000 ("), std::string::npos) << window;
  EXPECT_EQ(window.substr(0, window.find("después")).find("WS_DISABLED"), std::string::npos) << window;
  EXPECT_NE(window.find("WS_DISABLED", window.find("después")), std::string::npos) << window;

  // An edit control's word: its ES_ names before the WS_ names.
  change.windowClass = ControlClass::Edit;
  change.oldStyle = 0x50000000;
  change.newStyle = 0x50000004;
  const std::string edit = MessageDetails(change);
  EXPECT_NE(edit.find("ES_MULTILINE", edit.find("después")), std::string::npos) << edit;
  EXPECT_LT(edit.find("ES_"), edit.find("WS_CHILD")) << edit;

  // The extended word uses the WS_EX_ dictionary whatever the class.
  change.wParam = static_cast<uint32_t>(-20);
  change.oldStyle = 0;
  change.newStyle = 0x00000008;
  const std::string extended = MessageDetails(change);
  EXPECT_EQ(extended.rfind("GWL_EXSTYLE", 0), 0u) << extended;
  EXPECT_NE(extended.find("WS_EX_TOPMOST", extended.find("después")), std::string::npos) << extended;
  EXPECT_EQ(extended.find("ES_MULTILINE"), std::string::npos) << extended;
}

}  // namespace
}  // namespace qm
