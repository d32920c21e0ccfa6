//Maya ASCII 2013 scene
//Name: sourcesItself.ma
//Sources itself as a MEL script, from the folder it is in.
requires maya "2013";
currentUnit -l centimeter -a degree -t film;
createNode transform -n "first";
source "./sourcesItself.ma";
createNode transform -n "last";
// End of sourcesItself.ma
