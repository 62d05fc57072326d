// tvlengin.exe at the display's scale: cells, icon squares and icons.
