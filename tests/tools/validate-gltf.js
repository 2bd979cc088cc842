// Validates a glTF or glb file with the Khronos validator; prints the counts and every error.
const fs = require('fs');
const path = require('path');
const validator = require('gltf-validator');
const file = process.argv[2];
const data = new Uint8Array(fs.readFileSync(file));
validator.validateBytes(data, {
  uri: path.basename(file),
  externalResourceFunction: (uri) => new Promise((resolve, reject) => {
    fs.readFile(path.join(path.dirname(file), decodeURIComponent(uri)), (error, bytes) => {
      if (error) { reject(error.toString()); } else { resolve(new Uint8Array(bytes)); }
    });
  }),
}).then((report) => {
  const issues = report.issues;
  console.log(`errors ${issues.numErrors} warnings ${issues.numWarnings} infos ${issues.numInfos}`);
  for (const message of issues.messages) {
    if (message.severity <= 1) {
      console.log(`${message.severity === 0 ? 'error' : 'warning'} ${message.code} ${message.pointer || ''}: ${message.message}`);
    }
  }
  process.exit(issues.numErrors === 0 ? 0 : 1);
}, (error) => {
  console.log(`cannot validate ${file}: ${error}`);
  process.exit(1);
});
