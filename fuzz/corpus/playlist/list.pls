>[playlist]
NumberOfEntries=3
File1=music/a.mp3
Title1=Band - First
Length1=215
File10=music/c.mp3
file2=http://radio.example/stream
TITLE2=Radio
Length2=-1
Version=2
