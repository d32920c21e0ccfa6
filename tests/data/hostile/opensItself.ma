//Maya ASCII 2013 scene
//Name: opensItself.ma
//Opens itself again through eval, from the folder it is in.
requires maya "2013";
currentUnit -l centimeter -a degree -t film;
createNode transform -n "first";
eval "file -f -o \"opensItself.ma\"";
createNode transform -n "last";
// End of opensItself.ma
