// tvledit.exe at the display's scale: controls, captions and fonts.
