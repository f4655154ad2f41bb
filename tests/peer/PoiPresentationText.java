// Apache POI, a second reader of PowerPoint 97-2003 files: prints the text
// of every slide and its notes of FILE, decrypted with PASSWORD when given.
//   java -cp CLASSPATH PoiPresentationText FILE [PASSWORD]
import java.io.File;
import org.apache.poi.hslf.extractor.PowerPointExtractor;
import org.apache.poi.hssf.record.crypto.Biff8EncryptionKey;

public class PoiPresentationText {
  public static void main(String[] args) throws Exception {
    if (args.length > 1) Biff8EncryptionKey.setCurrentUserPassword(args[1]);
    try (PowerPointExtractor extractor = new PowerPointExtractor(args[0])) {
      System.out.print(extractor.getText(true, true));
    }
  }
}
